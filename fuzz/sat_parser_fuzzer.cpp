// Feeds arbitrary bytes as a file to SatParser and parses every line it delivers.
#include "fuzz_input_file.h"
#include "parsers/sat_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  parseWholeInput<SatParser>(bytes, size);
  return 0;
}
