#include "driver/cpu_quota.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace {

// Files of the kernel are small: anything past this is not what they should hold.
constexpr std::size_t kMostRead = 1 << 20;

bool readSmallFile(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "re");
  if (file == nullptr) return false;
  text.clear();
  char buffer[4096];
  std::size_t got = 0;
  while (text.size() < kMostRead && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, got);
  }
  std::fclose(file);
  return true;
}

bool parseNumber(std::string_view text, long long& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    const std::size_t at = text.find(separator);
    if (at != 0) parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 1);
  }
  return parts;
}

std::vector<std::string_view> lines(std::string_view text) { return split(text, '\n'); }

bool listHas(std::string_view list, std::string_view item) {
  for (std::string_view part : split(list, ',')) {
    if (part == item) return true;
  }
  return false;
}

// A cgroup hierarchy as this process sees it: where it is mounted, and which of its cgroups the
// mount point shows (not "/" inside a container that does not have a namespace of its own).
struct Hierarchy {
  bool found = false;
  std::string root;
  std::string mountPoint;
  std::string cgroup;  // the process's cgroup in the hierarchy
};

// Finds the v2 hierarchy and the v1 one that holds the cpu controller in a mount table.
void findMounts(std::string_view mountInfo, Hierarchy& v2, Hierarchy& v1) {
  for (std::string_view line : lines(mountInfo)) {
    // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPER-OPTIONS
    const std::vector<std::string_view> fields = split(line, ' ');
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash + 3 >= fields.size()) continue;
    Hierarchy* hierarchy = nullptr;
    if (fields[dash + 1] == "cgroup2") hierarchy = &v2;
    if (fields[dash + 1] == "cgroup" && listHas(fields[dash + 3], "cpu")) hierarchy = &v1;
    if (hierarchy == nullptr || hierarchy->found) continue;
    hierarchy->found = true;
    hierarchy->root = std::string(fields[3]);
    hierarchy->mountPoint = std::string(fields[4]);
  }
}

// Finds the process's cgroup in each hierarchy in its cgroup list ("ID:CONTROLLERS:PATH").
void findCgroups(std::string_view list, Hierarchy& v2, Hierarchy& v1) {
  for (std::string_view line : lines(list)) {
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) continue;
    const std::string_view controllers = line.substr(first + 1, second - first - 1);
    const std::string path(line.substr(second + 1));
    if (line.substr(0, first) == "0" && controllers.empty()) v2.cgroup = path;
    if (listHas(controllers, "cpu")) v1.cgroup = path;
  }
}

// The folder of the process's cgroup under the mount point: its path below the mount's root.
// A cgroup outside the root is one the mount does not show; the nearest shown is then the
// mount point itself, the container's own cgroup.
std::string folderOf(const Hierarchy& hierarchy) {
  const std::string& root = hierarchy.root;
  const std::string& cgroup = hierarchy.cgroup;
  std::string below;
  if (root == "/") {
    below = cgroup;
  } else if (cgroup.compare(0, root.size(), root) == 0 &&
             (cgroup.size() == root.size() || cgroup[root.size()] == '/')) {
    below = cgroup.substr(root.size());
  }
  if (below == "/") below.clear();
  return hierarchy.mountPoint + below;
}

// The least limit of the cgroup's folder and of each above it up to the mount point.
template <class LimitOf>
long long leastLimit(const Hierarchy& hierarchy, LimitOf limitOf) {
  if (!hierarchy.found || hierarchy.cgroup.empty()) return 0;
  std::string folder = folderOf(hierarchy);
  long long least = 0;
  for (;;) {
    const long long cores = limitOf(folder);
    if (cores > 0 && (least == 0 || cores < least)) least = cores;
    const std::size_t slash = folder.rfind('/');
    if (folder.size() <= hierarchy.mountPoint.size() || slash == std::string::npos) break;
    folder.erase(slash);
  }
  return least;
}

long long readNumber(const std::string& path) {
  std::string text;
  long long value = 0;
  if (!readSmallFile(path, text)) return 0;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return parseNumber(text, value) ? value : 0;
}

}  // namespace

long long coresOfQuota(long long quota, long long period) {
  if (quota <= 0 || period <= 0) return 0;
  return quota / period + (quota % period != 0 ? 1 : 0);
}

long long coresOfCpuMax(std::string_view cpuMax) {
  std::vector<std::string_view> fields = split(cpuMax, ' ');
  if (!fields.empty() && !fields.back().empty() && fields.back().back() == '\n') {
    fields.back().remove_suffix(1);
  }
  long long quota = 0, period = 0;
  if (fields.size() != 2 || !parseNumber(fields[0], quota) || !parseNumber(fields[1], period)) {
    return 0;
  }
  return coresOfQuota(quota, period);
}

long long cgroupCpuLimit(const std::string& mountInfoPath, const std::string& cgroupListPath) {
  std::string mountInfo, cgroupList;
  if (!readSmallFile(mountInfoPath, mountInfo) || !readSmallFile(cgroupListPath, cgroupList)) {
    return 0;
  }
  Hierarchy v2, v1;
  findMounts(mountInfo, v2, v1);
  findCgroups(cgroupList, v2, v1);
  // On a machine with both, the cpu controller is in one of them; the other's files are absent.
  const long long ofV2 = leastLimit(v2, [](const std::string& folder) {
    std::string text;
    return readSmallFile(folder + "/cpu.max", text) ? coresOfCpuMax(text) : 0;
  });
  const long long ofV1 = leastLimit(v1, [](const std::string& folder) {
    return coresOfQuota(readNumber(folder + "/cpu.cfs_quota_us"),
                        readNumber(folder + "/cpu.cfs_period_us"));
  });
  if (ofV2 == 0 || (ofV1 != 0 && ofV1 < ofV2)) return ofV1;
  return ofV2;
}
