// Feeds arbitrary bytes as a relationship file to AsrelParser and checks every delivered record
// and the counts. The first byte picks the run: bit 0 a 32-bit run.
#include <cstring>

#include "asgraph/as_number.h"
#include "fuzz_input_file.h"
#include "parsers/asrel_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0 || looksCompressed(bytes + 1, size - 1)) return 0;
  const ASWidth width{(bytes[0] & 1) != 0};
  const char* path = writeFuzzInput(bytes + 1, size - 1);
  if (path == nullptr) return 0;

  AsrelParser parser;
  parser.setWidth(width);
  if (!parser.openFile(path)) return 0;
  unsigned long rejected = 0;
  while (parser.nextLine() == 0) {
    parser.currentLine();
    const int code = parser.parseLine();
    if (code != 0 && code != 3 && code != 4) abort();
    if ((code == 0) != (parser.errReason()[0] == '\0')) abort();
    if (code != 0) {
      ++rejected;
      continue;
    }
    const AsrelParser::ParsedData& d = parser.data;
    if (d.from == 0 || d.to == 0 || d.from > width.largest() || d.to > width.largest()) {
      abort();
    }
  }
  if (parser.nextLine() != 1 || parser.readError() != 0 || parser.filePos() != size - 1) abort();
  // Every rejected line is counted once, under a reason of its own.
  const ReadStats& stats = parser.stats();
  unsigned long counted = 0;
  for (int i = 0; i < stats.reasonCount(); ++i) {
    if (std::strcmp(stats.reason(i), AsrelParser::siblingLink) == 0) continue;
    if (std::strcmp(stats.reason(i), AsrelParser::malformedLine) != 0 &&
        std::strcmp(stats.reason(i), AsrelParser::nulLine) != 0 &&
        std::strcmp(stats.reason(i), kAboveAS16Reason) != 0) {
      abort();
    }
    counted += stats.count(i);
  }
  if (counted != rejected) abort();
  parser.closeFile();
  return 0;
}
