#include "export/export_output.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ExportOutput::fail() {
  reason_ = std::strerror(file_.errorNumber());
  return false;
}

bool ExportOutput::open(const char* path) {
  if (path == nullptr) {
    toStdout_ = true;
    return true;
  }
  return file_.open(path) || fail();
}

bool ExportOutput::finish() {
  if (!toStdout_) return file_.close() || fail();
  if (std::fflush(stdout) == 0) return true;
  reason_ = std::strerror(errno);
  return false;
}

bool ExportOutput::commit() { return toStdout_ || file_.commit() || fail(); }

bool makeFolders(const char* path, std::string& reason) {
  std::string prefix;
  for (const char* at = path;; ++at) {
    // Each prefix that ends a component, the whole path last.
    if ((*at == '/' || *at == '\0') && !prefix.empty() && prefix != "/") {
      if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
        reason = std::strerror(errno);
        return false;
      }
    }
    if (*at == '\0') break;
    prefix += *at;
  }
  struct stat status;
  if (stat(path, &status) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    reason = std::strerror(ENOTDIR);
    return false;
  }
  return true;
}
