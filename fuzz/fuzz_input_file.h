// Writes a fuzzing input to a scratch file of the harness's own, for the units that read files
// by name. The file is made once per process, overwritten for every input and removed at exit.
#ifndef ZELGRIN_FUZZ_FUZZ_INPUT_FILE_H
#define ZELGRIN_FUZZ_FUZZ_INPUT_FILE_H

#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "asgraph/as_number.h"
#include "io/codec.h"

// Half of the inputs run as with --as32: the lowest bit of the first byte decides.
inline ASWidth widthFrom(const uint8_t* bytes, size_t size) {
  return ASWidth{size > 0 && (bytes[0] & 1) != 0};
}

// True when the input opens with a compression magic. The parser harnesses leave such inputs to
// the decompress fuzzer, which caps the decoded size: a small input can decode to gigabytes,
// which is slow, not wrong.
inline bool looksCompressed(const uint8_t* bytes, size_t size) {
  return detectCodec(bytes, size) != Codec::plain;
}

// The name of a file holding exactly `bytes`, or null when it cannot be written.
inline char* fuzzInputPath() {
  static char path[] = "/tmp/zelgrin_fuzz_input-XXXXXX";
  return path;
}
inline void removeFuzzInput() { unlink(fuzzInputPath()); }

inline const char* writeFuzzInput(const uint8_t* bytes, size_t size) {
  char* path = fuzzInputPath();
  static bool made = false;
  if (!made) {
    int fd = mkstemp(path);
    if (fd < 0) return nullptr;
    close(fd);
    atexit(removeFuzzInput);
    made = true;
  }
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return nullptr;
  std::fwrite(bytes, 1, size, file);
  std::fclose(file);
  return path;
}

// Reads the file of `bytes` through a line parser to the end, parsing every line it delivers,
// and stops the run when the parser ends early, records a read error or loses bytes.
template <typename LineParser>
void parseWholeInput(const uint8_t* bytes, size_t size) {
  if (looksCompressed(bytes, size)) return;
  const char* path = writeFuzzInput(bytes, size);
  if (path == nullptr) return;
  LineParser parser;
  parser.setWidth(widthFrom(bytes, size));
  if (!parser.openFile(path)) return;
  while (parser.nextLine() == 0) {
    parser.currentLine();
    parser.parseLine();
    parser.errReason();
  }
  if (parser.nextLine() != 1 || parser.readError() != 0 || parser.filePos() != size) abort();
  parser.closeFile();
}

#endif  // ZELGRIN_FUZZ_FUZZ_INPUT_FILE_H
