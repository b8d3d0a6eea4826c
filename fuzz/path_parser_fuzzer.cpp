// Feeds arbitrary bytes as a file to pathParser and parses every line it delivers.
#include "fuzz_input_file.h"
#include "parsers/path_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  parseWholeInput<pathParser>(bytes, size);
  return 0;
}
