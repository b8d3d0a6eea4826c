// Feeds arbitrary bytes as a file to VantageParser and parses every line it delivers.
#include "fuzz_input_file.h"
#include "parsers/vantage_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  parseWholeInput<VantageParser>(bytes, size);
  return 0;
}
