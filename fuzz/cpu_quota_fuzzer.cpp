// Feeds arbitrary text to the reading of a CPU quota: as a cpu.max file, and cut at its first
// NUL into a mount table and a cgroup list, whose folders are looked up wherever they point.
// Nothing may crash, read out of bounds or give a negative number of cores.
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "driver/cpu_quota.h"

namespace {

// A scratch file of the harness's own, made once and removed at exit.
struct ScratchFile {
  char path[64] = "/tmp/zelgrin_fuzz_cgroup-XXXXXX";
  bool made = false;
  bool write(std::string_view text) {
    if (!made) {
      const int fd = mkstemp(path);
      if (fd < 0) return false;
      close(fd);
      made = true;
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return true;
  }
  ~ScratchFile() {
    if (made) unlink(path);
  }
};

ScratchFile mountInfo, cgroupList;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  if (coresOfCpuMax(text) < 0) std::abort();
  const std::size_t cut = text.find('\0');
  if (cut == std::string_view::npos) return 0;
  if (!mountInfo.write(text.substr(0, cut)) || !cgroupList.write(text.substr(cut + 1))) return 0;
  if (cgroupCpuLimit(mountInfo.path, cgroupList.path) < 0) std::abort();
  return 0;
}
