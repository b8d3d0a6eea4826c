// Feeds arbitrary bytes as a file to UnknownParser and parses every line it delivers.
#include "fuzz_input_file.h"
#include "parsers/unknown_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  parseWholeInput<UnknownParser>(bytes, size);
  return 0;
}
