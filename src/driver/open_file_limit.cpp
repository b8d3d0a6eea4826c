#include "driver/open_file_limit.h"

#include <sys/resource.h>

namespace {

// The standard streams, the output and its temporary name, temporary files of sorts.
constexpr rlim_t kSpare = 64;

}  // namespace

void makeRoomForInputs(std::size_t inputs) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
  const rlim_t wanted = 2 * static_cast<rlim_t>(inputs) + kSpare;
  if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= wanted) return;
  limit.rlim_cur =
      limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= wanted ? wanted : limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}
