// An output file that is replaced whole or not at all. A regular file (existing or new) is
// written to a temporary file beside it, flushed to disk and renamed over it on commit(); on any
// failure, on abandon() or on SIGTERM, SIGINT or SIGHUP the temporary file is removed and the
// old file stays byte for byte. Used by the graph builder and the exporter for their outputs.
//
// What is written where:
//   regular file or no file     temporary ".NAME.XXXXXX" in the same directory, then rename;
//                               the old file's permission bits (and owner, where allowed) are
//                               kept, a new file gets 0666 less the umask as fopen gives. The
//                               temporary file of an existing file is made 0600 (at most the
//                               old mode) and takes the old mode when written (close()): it is
//                               never open wider than the file it replaces
//   symbolic link               the file it points to is replaced, the link stays; but a link
//                               in a sticky, world-writable folder (/tmp) that belongs neither
//                               to the caller nor to the folder's owner is not followed: open()
//                               fails with EACCES, as the kernel's fs.protected_symlinks does
//   no temporary possible       (directory not writable, file not writable) written in place;
//                               other failures to make one (a full disk) fail the open
//   terminal, FIFO, device      written directly
// While a file is open, SIGXFSZ is ignored, so that a write past the file size limit fails with
// EFBIG instead of ending the program.
#ifndef ZELGRIN_IO_OUTPUT_FILE_H
#define ZELGRIN_IO_OUTPUT_FILE_H

#include <sys/types.h>

#include <cstdio>
#include <string>

class OutputFile {
 public:
  // `noun` names the file in failure reasons, e.g. "graph file".
  explicit OutputFile(const char* noun = "file");
  // Abandons the file if it was neither committed nor abandoned.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens `name` for writing as described above. False, with errorNumber() set to the system
  // error of the last attempt, when neither a temporary file nor the file itself can be opened;
  // for a link refused errorNumber() is EACCES and errReason() says why. REQUIRES: not open.
  bool open(const char* name);
  // The stream to write to; null when not open.
  std::FILE* stream() const { return stream_; }
  // True when the file goes through a temporary file (so a failure cannot touch the old one).
  bool replacesWhole() const { return !temporary_.empty(); }

  // Flushes the stream, syncs the temporary file to disk and closes it, without replacing the
  // target yet: several outputs can be written out first and then put in place together. False
  // with errReason() on the first failure; the temporary file is then removed. A file written
  // in place or directly is only closed. REQUIRES: open.
  bool close();
  // Closes the file as close() does, unless that was done, and renames the temporary file over
  // the target. False with errReason() on the first failure; the temporary file is then
  // removed. REQUIRES: open, or closed and not yet committed.
  bool commit();
  // Closes the stream and removes the temporary file. Does nothing when not open.
  void abandon();

  // The system error of the failed open(), close() or commit().
  int errorNumber() const { return errorNumber_; }
  // Why commit() failed, e.g. "Could not close the graph file (Input/output error)"; for open()
  // only when it refused a symbolic link.
  const char* errReason() const { return reason_.c_str(); }

  // Removes the temporary file of every output file not yet committed. Safe to call from a
  // signal handler or an out-of-memory handler that ends the program next.
  static void removeTemporaries();

 private:
  bool openTemporary(mode_t mode);
  // Gives the written temporary file the owner and mode of the file it replaces.
  bool takeFinalMode();
  bool openInPlace(const char* name);
  bool fail(const char* before, const char* after, int error);
  void finish();

  std::string noun_;
  std::string target_;     // the file the temporary file is renamed to (links resolved)
  std::string temporary_;  // empty when writing in place or directly
  std::string directory_;  // the temporary file's directory, synced after the rename
  std::FILE* stream_ = nullptr;
  int slot_ = -1;  // index in the table of temporary files, -1 when not registered
  // The mode and owner the temporary file takes once written; kNoMode for a new file.
  static constexpr mode_t kNoMode = static_cast<mode_t>(-1);
  mode_t finalMode_ = kNoMode;
  uid_t finalUid_ = 0;
  gid_t finalGid_ = 0;
  int errorNumber_ = 0;
  std::string reason_;
};

#endif  // ZELGRIN_IO_OUTPUT_FILE_H
