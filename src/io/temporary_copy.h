// A copy of an input in a temporary file, for graph construction: an input read in both of its
// passes must be opened twice, which standard input, a pipe, a FIFO or a device cannot be. The
// copy holds the input's bytes as they came (compressed or not), lies in $TMPDIR (else /tmp),
// and is removed when the copy is destroyed or a signal ends the program (temporary_files.h).
#ifndef ZELGRIN_IO_TEMPORARY_COPY_H
#define ZELGRIN_IO_TEMPORARY_COPY_H

#include <string>

class TemporaryCopy {
 public:
  TemporaryCopy() = default;
  // Removes the copy.
  ~TemporaryCopy();
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;

  // True when `name` cannot be opened twice: "-" (standard input) or anything that exists and is
  // not a regular file. A name that cannot be examined is left to its opening to report.
  static bool needed(const char* name);

  // Copies `name` ("-" for standard input) to a new temporary file. False with reason() when it
  // cannot be read or the copy cannot be written; nothing is then left behind.
  bool make(const char* name);
  // The copy's path. REQUIRES: make() succeeded.
  const char* path() const { return path_.c_str(); }
  const char* reason() const { return reason_.c_str(); }

 private:
  void remove();

  std::string path_;
  int slot_ = -1;
  std::string reason_;
};

#endif  // ZELGRIN_IO_TEMPORARY_COPY_H
