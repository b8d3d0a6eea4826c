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

enum ResolveResult { resolvedFile, resolvedNone, resolveFailed, resolveRefused };

// The rule the kernel applies with fs.protected_symlinks, applied whatever that setting: a link
// in a sticky, world-writable directory (/tmp) is followed only when it belongs to the caller or
// to the directory's owner, so that another user cannot plant one there to make the program
// replace a file of the caller's. `link` is the link's path, `status` its lstat.
bool mayFollow(const std::string& link, const struct stat& status) {
  if (status.st_uid == geteuid()) return true;
  std::string directory = directoryOf(link);
  if (directory.empty()) directory = ".";
  struct stat folder;
  if (stat(directory.c_str(), &folder) != 0) return false;
  const mode_t open = S_ISVTX | S_IWOTH;
  return (folder.st_mode & open) != open || folder.st_uid == status.st_uid;
}

// Follows symbolic links from `name` to the file they end at, which need not exist yet.
// resolvedNone: nothing there (a new file); resolveFailed: write directly instead (a loop, an
// unreadable link, an open descriptor's name); resolveRefused: a link mayFollow refuses, which
// `target` then names.
ResolveResult resolveLinks(const char* name, std::string& target, struct stat& status) {
  target = name;
  for (int hops = 0; hops < 40; ++hops) {
    if (namesDescriptor(target)) return resolveFailed;
    if (lstat(target.c_str(), &status) != 0) return errno == ENOENT ? resolvedNone : resolveFailed;
    if (!S_ISLNK(status.st_mode)) return resolvedFile;
    if (!mayFollow(target, status)) return resolveRefused;
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
  const ResolveResult found = resolveLinks(name, target_, status);
  if (found == resolveRefused) {
    // What the kernel answers for such a link when it applies the rule itself.
    errorNumber_ = EACCES;
    reason_ = "Refusing to follow the symbolic link `" + target_ +
              "': it is in a sticky, world-writable folder and belongs neither to you nor to "
              "the folder's owner";
    releaseSignals();
    return false;
  }
  const std::string base = baseOf(target_);
  const bool replaceable = found != resolveFailed && !base.empty() && base != "." && base != ".." &&
                           (found == resolvedNone || S_ISREG(status.st_mode));
  // A file the user may not write is not replaced either: writing in place fails as it should.
  const bool writable =
      found == resolvedNone || faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) == 0;
  if (replaceable && writable) {
    // A new file is made with its final mode, 0666 less the umask as fopen gives; a file that
    // replaces another is made for its owner alone (0600, less what the old mode lacks of it)
    // and given the old mode only once written (close()), so that it is never open to more
    // users than the file it replaces.
    finalMode_ = found == resolvedFile ? status.st_mode & 07777 : kNoMode;
    if (!openTemporary(found == resolvedFile ? finalMode_ & 0600 : 0666)) {
      // Only a directory that takes no new file is a reason to write in place; anything else
      // (a full disk, no memory) would fail there as well, after the old file was emptied.
      if (!placeRefused(errorNumber_)) {
        releaseSignals();
        return false;
      }
      return openInPlace(name);
    }
    finalUid_ = status.st_uid;
    finalGid_ = status.st_gid;
    return true;
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

bool OutputFile::openTemporary(mode_t mode) {
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
    // The umask applies as it does for a file fopen creates.
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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
  if (!takeFinalMode()) return fail("Could not set the permissions of the ", "", errno);
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

bool OutputFile::takeFinalMode() {
  if (finalMode_ == kNoMode) return true;
  const int fd = fileno(stream_);
  // The owner first (where allowed), since a change of owner clears the set-user-ID bit.
  if (finalUid_ != geteuid() || finalGid_ != getegid()) {
    if (fchown(fd, finalUid_, finalGid_) != 0) { /* best effort */
    }
  }
  if (fchmod(fd, finalMode_) == 0) return true;
  const int error = errno;
  // A file system without permission bits gives every file the same mode anyway.
  struct stat status;
  if (fstat(fd, &status) == 0 && (status.st_mode & 07777) == finalMode_) return true;
  errno = error;
  return false;
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
