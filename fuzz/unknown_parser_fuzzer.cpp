// Feeds arbitrary bytes as a file to unknownParser and parses every line it delivers.
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "parsers/unknown_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static char path[] = "/tmp/unknown_parser_fuzzer-XXXXXX";
  static bool made = false;
  if (!made) {
    int fd = mkstemp(path);
    if (fd < 0) return 0;
    close(fd);
    made = true;
  }
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return 0;
  std::fwrite(bytes, 1, size, file);
  std::fclose(file);

  unknownParser parser;
  if (!parser.openFile(path)) return 0;
  while (parser.nextLine() == 0) {
    parser.currentLine();
    parser.parseLine();
    parser.errReason();
  }
  if (parser.nextLine() != 1 || parser.readError() != 0 || parser.filePos() != size) abort();
  parser.closeFile();
  return 0;
}
