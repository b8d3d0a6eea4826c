// Feeds arbitrary bytes to the first-block checks as the first block of an input file; the
// sanitizers catch a read past the block. A block that starts as an MRT record is MRT.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "build/input_sniff.h"
#include "driver/output_guard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string block(reinterpret_cast<const char*>(bytes), size);
  const SniffedKind kind = sniffKind(block);
  if (startsAsMRT(block) && kind != SniffedKind::mrt) std::abort();
  if (startsAsGraphFile(block) && block.size() < 3) std::abort();
  return 0;
}
