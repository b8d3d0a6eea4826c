// The CPU time a container or a batch job grants the process. A cgroup's quota (docker --cpus,
// a Kubernetes CPU limit, systemd's CPUQuota) lets it use a few cores' worth of time while its
// affinity still names every core of the machine, so the default number of threads takes the
// smaller of the two: more threads than the quota would only be throttled, and each holds a
// partial graph of its own.
#ifndef ZELGRIN_DRIVER_CPU_QUOTA_H
#define ZELGRIN_DRIVER_CPU_QUOTA_H

#include <string>
#include <string_view>

// The cores' worth of time a quota of `quota` microseconds every `period` grants, rounded up;
// 0 (no limit) for a quota that is absent or not positive, or a period that is not positive.
long long coresOfQuota(long long quota, long long period);

// The cores' worth of time a cgroup v2 `cpu.max` file grants ("QUOTA PERIOD" or "max PERIOD");
// 0 for no limit or text it cannot read.
long long coresOfCpuMax(std::string_view cpuMax);

// The least quota, in cores, of the process's cgroup and of each cgroup above it, v2 or v1,
// found through the mount table and the cgroup list at the given paths (the process's own in
// /proc/self, or files a test made). 0 when nothing limits it or nothing can be read.
long long cgroupCpuLimit(const std::string& mountInfoPath = "/proc/self/mountinfo",
                         const std::string& cgroupListPath = "/proc/self/cgroup");

#endif  // ZELGRIN_DRIVER_CPU_QUOTA_H
