#include "export/export_output.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The regular file that `path` names, following symbolic links, in `resolved`; false when the
// name is taken by something else (a device, a pipe, a directory) that must be written in place.
bool replaceableFile(const char* path, std::string& resolved) {
  resolved = path;
  struct stat status;
  if (lstat(path, &status) != 0) return true;  // a new file
  if (S_ISLNK(status.st_mode)) {
    char target[PATH_MAX];
    if (realpath(path, target) == nullptr) return true;  // a dangling link is replaced itself
    resolved = target;
    if (stat(target, &status) != 0) return false;
  }
  return S_ISREG(status.st_mode);
}

// The permissions a new file gets from the umask, or those of the file it replaces.
mode_t modeFor(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

ExportOutput::~ExportOutput() {
  if (stream_ != nullptr && stream_ != stdout) std::fclose(stream_);
  removeTemporary();
}

bool ExportOutput::fail() {
  reason_ = std::strerror(errno);
  if (stream_ != nullptr && stream_ != stdout) std::fclose(stream_);
  stream_ = nullptr;
  removeTemporary();
  return false;
}

void ExportOutput::removeTemporary() {
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

bool ExportOutput::open(const char* path) {
  if (path == nullptr) {
    stream_ = stdout;
    return true;
  }
  if (*path == '\0') {  // no name at all: as the system says of it
    errno = ENOENT;
    return fail();
  }
  if (!replaceableFile(path, target_)) {
    stream_ = std::fopen(path, "w");
    return stream_ != nullptr || fail();
  }
  // Beside the target, so that the rename stays within one file system.
  const std::size_t slash = target_.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  std::string name = directory + "." + base + ".XXXXXX";
  const int fd = mkstemp(&name[0]);
  if (fd < 0) return fail();
  temporary_ = name;
  if (fchmod(fd, modeFor(target_)) != 0 || (stream_ = fdopen(fd, "w")) == nullptr) {
    const int error = errno;
    close(fd);
    errno = error;
    return fail();
  }
  return true;
}

bool ExportOutput::finish() {
  if (stream_ == stdout) {
    stream_ = nullptr;
    return std::fflush(stdout) == 0 || fail();
  }
  // A full disk may show only at the flush, the sync or the close: each is a failed write.
  if (std::fflush(stream_) != 0) return fail();
  if (!temporary_.empty() && fsync(fileno(stream_)) != 0) return fail();
  std::FILE* stream = stream_;
  stream_ = nullptr;
  if (std::fclose(stream) != 0) return fail();
  return true;
}

bool ExportOutput::commit() {
  if (temporary_.empty()) return true;
  if (rename(temporary_.c_str(), target_.c_str()) != 0) return fail();
  temporary_.clear();
  return true;
}

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
