#include "io/output_file.h"

#include "io/temporary_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

using temporary_files::catchSignals;
using temporary_files::releaseSignals;
using temporary_files::SignalsHeld;

// The directory part of a path, with its slash ("" for a bare name), and the last component.
std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
std::string baseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name under /proc (what /dev/stdout and /dev/fd/N lead to) stands for an open descriptor:
// it must be written through, not replaced.
bool namesDescriptor(const std::string& path) { return path.compare(0, 6, "/proc/") == 0; }

enum resolve_result { resolvedFile, resolvedNone, resolveFailed };

// Follows symbolic links from `name` to the file they end at, which need not exist yet.
// resolvedNone: nothing there (a new file); resolveFailed: write directly instead (a loop, an
// unreadable link, an open descriptor's name).
resolve_result resolveLinks(const char* name, std::string& target, struct stat& status) {
  target = name;
  for (int hops = 0; hops < 40; ++hops) {
    if (namesDescriptor(target)) return resolveFailed;
    if (lstat(target.c_str(), &status) != 0) return errno == ENOENT ? resolvedNone : resolveFailed;
    if (!S_ISLNK(status.st_mode)) return resolvedFile;
    char link[PATH_MAX];
    const ssize_t length = readlink(target.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) return resolveFailed;
    const std::string text(link, static_cast<std::size_t>(length));
    target = text[0] == '/' ? text : directoryOf(target) + text;
  }
  return resolveFailed;
}

// Six characters that make the temporary file's name unlikely to be taken.
std::string randomSuffix() {
  static unsigned long long counter = 0;
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  unsigned long long mix = static_cast<unsigned long long>(now.tv_nsec) ^
                           (static_cast<unsigned long long>(getpid()) << 32) ^ (++counter * 7919);
  static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string suffix;
  for (int k = 0; k < 6; ++k) {
    mix = mix * 6364136223846793005ULL + 1442695040888963407ULL;
    suffix += letters[(mix >> 33) % (sizeof letters - 1)];
  }
  return suffix;
}

// True for the errors of a directory that takes no new file (or no name that long), where the
// file itself may still be written.
bool placeRefused(int error) {
  return error == EACCES || error == EPERM || error == EROFS || error == ENOENT ||
         error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP;
}

// Makes the directory entry of a renamed file durable; a failure here cannot undo the rename,
// so it is not reported.
void syncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

OutputFile::OutputFile(const char* noun) : noun_(noun) {}

OutputFile::~OutputFile() { abandon(); }

void OutputFile::removeTemporaries() { temporary_files::removeAll(); }

bool OutputFile::open(const char* name) {
  errorNumber_ = 0;
  reason_.clear();
  catchSignals();
  struct stat status;
  const resolve_result found = resolveLinks(name, target_, status);
  const std::string base = baseOf(target_);
  const bool replaceable = found != resolveFailed && !base.empty() && base != "." && base != ".." &&
                           (found == resolvedNone || S_ISREG(status.st_mode));
  // A file the user may not write is not replaced either: writing in place fails as it should.
  const bool writable = found == resolvedNone || faccessat(AT_FDCWD, target_.c_str(), W_OK,
                                                           AT_EACCESS) == 0;
  if (replaceable && writable) {
    if (!openTemporary()) {
      // Only a directory that takes no new file is a reason to write in place; anything else
      // (a full disk, no memory) would fail there as well, after the old file was emptied.
      if (!placeRefused(errorNumber_)) {
        releaseSignals();
        return false;
      }
      return openInPlace(name);
    }
    if (found != resolvedFile) return true;
    // The new file takes the old one's owner (where allowed) and permission bits; the owner
    // first, since a change of owner clears the set-user-ID bit.
    const int fd = fileno(stream_);
    if (status.st_uid != geteuid() || status.st_gid != getegid()) {
      if (fchown(fd, status.st_uid, status.st_gid) != 0) { /* best effort */ }
    }
    if (fchmod(fd, status.st_mode & 07777) == 0) return true;
    // A file system without permission bits: the file is written in place, keeping its own.
    abandon();
    catchSignals();
  }
  return openInPlace(name);
}

bool OutputFile::openInPlace(const char* name) {
  temporary_.clear();
  stream_ = std::fopen(name, "w");
  if (stream_ != nullptr) return true;
  errorNumber_ = errno;
  releaseSignals();
  return false;
}

bool OutputFile::openTemporary() {
  std::string base = baseOf(target_);
  // Room for the dot and the suffix within the longest name a directory takes.
  if (base.size() > 200) base.resize(200);
  // The directory to sync after the rename is named now: nothing may allocate once the file is
  // in place (running out of memory then would report a failure for a file that was written).
  directory_ = directoryOf(target_);
  const std::string prefix = directory_ + "." + base + ".";
  if (directory_.empty()) directory_ = ".";
  SignalsHeld held;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_ = prefix + randomSuffix();
    slot_ = temporary_files::enter(temporary_.c_str());
    if (slot_ < 0) break;
    // 0666: the umask applies as it does for a file fopen creates.
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      errorNumber_ = errno;
      temporary_files::leave(slot_);
      slot_ = -1;
      if (errorNumber_ == EEXIST) continue;
      break;
    }
    stream_ = fdopen(fd, "w");
    if (stream_ != nullptr) return true;
    errorNumber_ = errno;
    ::close(fd);
    unlink(temporary_.c_str());
    temporary_files::leave(slot_);
    slot_ = -1;
    break;
  }
  if (errorNumber_ == 0) errorNumber_ = EMFILE;  // no free slot: too many files open at once
  temporary_.clear();
  return false;
}

bool OutputFile::close() {
  if (temporary_.empty()) {
    const int result = std::fclose(stream_);
    const int error = errno;
    stream_ = nullptr;
    finish();
    return result == 0 || fail("Could not close the ", "", error);
  }
  if (std::fflush(stream_) != 0) return fail("Could not write the ", "", errno);
  const int syncResult = fsync(fileno(stream_));
  // A file system that cannot sync has nothing more to write.
  if (syncResult != 0 && errno != EINVAL && errno != ENOTSUP && errno != ENOSYS) {
    return fail("Could not flush the ", " to disk", errno);
  }
  const int closeResult = std::fclose(stream_);
  stream_ = nullptr;
  if (closeResult != 0) return fail("Could not close the ", "", errno);
  return true;
}

bool OutputFile::commit() {
  if (stream_ != nullptr && !close()) return false;
  if (temporary_.empty()) return true;
  {
    SignalsHeld held;
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
      return fail("Could not put the new ", " in place", errno);
    }
    temporary_files::leave(slot_);
    slot_ = -1;
  }
  syncDirectory(directory_);
  temporary_.clear();
  finish();
  return true;
}

void OutputFile::abandon() {
  if (stream_ == nullptr && temporary_.empty()) return;
  if (stream_ != nullptr) std::fclose(stream_);
  stream_ = nullptr;
  if (!temporary_.empty()) {
    SignalsHeld held;
    unlink(temporary_.c_str());
    temporary_files::leave(slot_);
    slot_ = -1;
    temporary_.clear();
  }
  finish();
}

bool OutputFile::fail(const char* before, const char* after, int error) {
  errorNumber_ = error;
  reason_ = std::string(before) + noun_ + after + " (" + std::strerror(error) + ")";
  abandon();
  return false;
}

void OutputFile::finish() { releaseSignals(); }
