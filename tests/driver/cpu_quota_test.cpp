#include "driver/cpu_quota.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

TEST(CpuQuota, CpuMaxText) {
  const struct {
    const char* text;
    long long cores;
  } cases[] = {
      {"max 100000\n", 0},
      {"200000 100000\n", 2},
      {"150000 100000\n", 2},
      {"1000 100000\n", 1},
      {"-1 100000\n", 0},
      {"200000 0\n", 0},
      {"200000\n", 0},
      {"", 0},
      {"2x 100000\n", 0},
      {"1 2 3\n", 0},
      {"9223372036854775807 1\n", 9223372036854775807LL},
  };
  for (const auto& c : cases) EXPECT_EQ(coresOfCpuMax(c.text), c.cores) << c.text;
}

// A mount table, a cgroup list and the cgroups' files in a scratch folder, as a container or a
// batch system lays them out.
class CgroupTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/zelgrin-cgroup-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    root_ = name;
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  void write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(root_ + path).parent_path());
    std::FILE* file = std::fopen((root_ + path).c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(text.c_str(), file);
    std::fclose(file);
  }
  // A mount of TYPE with SUPER options at ROOT_IN_HIERARCHY on the scratch folder's MOUNT.
  std::string mount(const std::string& type, const std::string& options, const std::string& root,
                    const std::string& at) {
    return "30 23 0:26 " + root + " " + root_ + at + " rw,nosuid shared:9 - " + type + " " + type +
           " " + options + "\n";
  }
  long long limit() { return cgroupCpuLimit(root_ + "/mountinfo", root_ + "/cgroup"); }

  std::string root_;
};

TEST_F(CgroupTree, V2TakesTheLeastLimitOfTheCgroupAndThoseAboveIt) {
  write("/mountinfo", mount("cgroup2", "rw,nsdelegate", "/", "/cg"));
  write("/cgroup", "0::/batch/job/step\n");
  write("/cg/batch/cpu.max", "400000 100000\n");
  write("/cg/batch/job/cpu.max", "250000 100000\n");
  write("/cg/batch/job/step/cpu.max", "max 100000\n");
  EXPECT_EQ(limit(), 3);
}

TEST_F(CgroupTree, V1ContainerSeesItsOwnCgroupAtTheMountPoint) {
  // The container's cgroup is /docker/ID on the host; its mount shows that cgroup as its root.
  write("/mountinfo", mount("cgroup2", "rw", "/", "/unified") +
                          mount("cgroup", "rw,cpu,cpuacct", "/docker/abc", "/cpu"));
  write("/cgroup", "0::/\n4:cpu,cpuacct:/docker/abc\n");
  write("/cpu/cpu.cfs_quota_us", "150000\n");
  write("/cpu/cpu.cfs_period_us", "100000\n");
  EXPECT_EQ(limit(), 2);
}

TEST_F(CgroupTree, NoQuotaOrNothingReadableIsNoLimit) {
  EXPECT_EQ(limit(), 0);
  write("/mountinfo", mount("cgroup", "rw,cpuacct", "/", "/acct") + "garbage line\n");
  write("/cgroup", "3:cpuacct:/\n");
  write("/acct/cpu.cfs_quota_us", "100000\n");
  EXPECT_EQ(limit(), 0);
  write("/mountinfo", mount("cgroup", "rw,cpu", "/", "/cpu"));
  write("/cgroup", "4:cpu:/\n");
  write("/cpu/cpu.cfs_quota_us", "-1\n");
  write("/cpu/cpu.cfs_period_us", "100000\n");
  EXPECT_EQ(limit(), 0);
}

}  // namespace
