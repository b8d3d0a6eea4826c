// Where an export goes: standard output, or a named file that is replaced only when the whole
// text has been written, so that a failed run leaves an existing file as it was. The one place
// that opens and closes the outputs of zelgrin-export.
#ifndef ZELGRIN_EXPORT_EXPORT_OUTPUT_H
#define ZELGRIN_EXPORT_EXPORT_OUTPUT_H

#include <cstdio>
#include <string>

// A named regular file (or a symbolic link to one, or a name not taken yet) is written as a
// temporary file beside it, flushed to disk and renamed over it. Anything else of that name (a
// device, a pipe) is written in place, as it cannot be replaced.
class ExportOutput {
 public:
  ExportOutput() = default;
  // Removes the temporary file unless it was committed; closes what is still open.
  ~ExportOutput();
  ExportOutput(const ExportOutput&) = delete;
  ExportOutput& operator=(const ExportOutput&) = delete;

  // Opens standard output for a null path, else the named file's temporary. False with the
  // system's reason when it cannot be created.
  bool open(const char* path);
  // The open stream. REQUIRES: open succeeded and finish was not called.
  std::FILE* stream() { return stream_; }
  // Flushes the stream and, for a file, syncs it to disk and closes it. False with the reason
  // when any of it fails; the temporary file is then removed.
  bool finish();
  // Renames the finished temporary file over the name (nothing to do otherwise). False with the
  // reason when the rename fails; the temporary file is then removed.
  bool commit();
  // The system's reason for the last failure.
  const std::string& reason() const { return reason_; }

 private:
  bool fail();
  void removeTemporary();

  std::FILE* stream_ = nullptr;
  std::string target_;     // the name that gets the text; empty for standard output
  std::string temporary_;  // the temporary file; empty when written in place
  std::string reason_;
};

// Makes the folder `path` and any missing folder above it; true when it exists as a folder
// afterwards, else false with the system's reason.
bool makeFolders(const char* path, std::string& reason);

#endif  // ZELGRIN_EXPORT_EXPORT_OUTPUT_H
