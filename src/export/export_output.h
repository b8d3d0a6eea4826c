// Where an export goes: standard output, or a named file that is replaced only when the whole
// text has been written, so that a failed run leaves an existing file as it was. The one place
// that opens and closes the outputs of zelgrin-export.
#ifndef ZELGRIN_EXPORT_EXPORT_OUTPUT_H
#define ZELGRIN_EXPORT_EXPORT_OUTPUT_H

#include <cstdio>
#include <string>

#include "io/output_file.h"

// A named file goes through the output file of the io library: a regular file (or one a
// symbolic link names, or a name not taken yet) is written as a temporary file beside it,
// flushed to disk and renamed over it; a device or a pipe is written in place.
class ExportOutput {
 public:
  ExportOutput() = default;
  ExportOutput(const ExportOutput&) = delete;
  ExportOutput& operator=(const ExportOutput&) = delete;

  // Opens standard output for a null path, else the named file. False with the system's reason
  // when it cannot be created.
  bool open(const char* path);
  // The open stream. REQUIRES: open succeeded and finish was not called.
  std::FILE* stream() { return toStdout_ ? stdout : file_.stream(); }
  // Flushes the stream and, for a file, syncs it to disk and closes it. False with the reason
  // when any of it fails; the temporary file is then removed.
  bool finish();
  // Puts the finished file in place (nothing to do otherwise). False with the reason when the
  // rename fails; the temporary file is then removed.
  bool commit();
  // The system's reason for the last failure.
  const std::string& reason() const { return reason_; }

 private:
  bool fail();

  bool toStdout_ = false;
  OutputFile file_;
  std::string reason_;
};

// Makes the folder `path` and any missing folder above it; true when it exists as a folder
// afterwards, else false with the system's reason.
bool makeFolders(const char* path, std::string& reason);

#endif  // ZELGRIN_EXPORT_EXPORT_OUTPUT_H
