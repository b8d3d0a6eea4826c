#include "io/temporary_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "io/temporary_files.h"

namespace {

bool isStandardInput(const char* name) { return name[0] == '-' && name[1] == '\0'; }

// Writes all of buffer[0, size) to fd; false with errno set.
bool writeAll(int fd, const unsigned char* buffer, std::size_t size) {
  while (size > 0) {
    const ssize_t wrote = write(fd, buffer, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      if (wrote == 0) errno = ENOSPC;
      return false;
    }
    buffer += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
  return true;
}

}  // namespace

TemporaryCopy::~TemporaryCopy() { remove(); }

bool TemporaryCopy::needed(const char* name) {
  if (isStandardInput(name)) return true;
  struct stat status;
  return stat(name, &status) == 0 && !S_ISREG(status.st_mode);
}

void TemporaryCopy::remove() {
  if (path_.empty()) return;
  {
    temporary_files::SignalsHeld held;
    unlink(path_.c_str());
    temporary_files::leave(slot_);
  }
  slot_ = -1;
  path_.clear();
  temporary_files::releaseSignals();
}

bool TemporaryCopy::make(const char* name) {
  remove();
  reason_.clear();
  const bool standardInput = isStandardInput(name);
  const int source = standardInput ? 0 : open(name, O_RDONLY | O_CLOEXEC);
  if (source < 0) {
    reason_ = std::strerror(errno);
    return false;
  }
  const std::string directory = temporary_files::directory();
  std::string path = directory + "/zelgrin-input-XXXXXX";
  int copy = -1;
  temporary_files::catchSignals();
  {
    temporary_files::SignalsHeld held;
    copy = mkstemp(&path[0]);
    if (copy >= 0) {
      path_ = path;
      slot_ = temporary_files::enter(path_.c_str());
      if (slot_ < 0) {
        unlink(path_.c_str());
        path_.clear();
        close(copy);
        copy = -1;
        errno = EMFILE;
      }
    }
  }
  if (copy < 0) {
    reason_ = "cannot make a temporary copy in " + directory + ": " + std::strerror(errno);
    temporary_files::releaseSignals();
    if (!standardInput) close(source);
    return false;
  }
  std::vector<unsigned char> buffer(256 * 1024);
  for (;;) {
    const ssize_t got = read(source, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      reason_ = std::strerror(errno);
      break;
    }
    if (got == 0) break;
    if (!writeAll(copy, buffer.data(), static_cast<std::size_t>(got))) {
      reason_ = "cannot write a temporary copy in " + directory + ": " + std::strerror(errno);
      break;
    }
  }
  if (!standardInput) close(source);
  if (close(copy) != 0 && reason_.empty()) {
    reason_ = "cannot write a temporary copy in " + directory + ": " + std::strerror(errno);
  }
  if (reason_.empty()) return true;
  remove();
  return false;
}
