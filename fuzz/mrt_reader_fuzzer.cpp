// Feeds arbitrary bytes to the MRT reader, from memory, and checks every entry and the end:
// prefix lengths within their family, flags agreeing with the path, record offsets inside the
// input and never going back, and nothing but `end` once reading has stopped.
#include <stdint.h>
#include <stdlib.h>

#include "parsers/mrt_reader.h"

namespace {

class CheckProblems : public MrtProblemListener {
 public:
  void skippedDamaged(const char* text) override {
    if (text == nullptr || text[0] == '\0') abort();
  }
};

void checkEntry(const MrtEntry& entry, size_t size, uint64_t& lastOffset) {
  if (entry.prefixLength > (entry.family == MrtFamily::ipv4 ? 32 : 128)) abort();
  if (entry.recordOffset + 12 > size || entry.recordOffset < lastOffset) abort();
  lastOffset = entry.recordOffset;
  bool wide = false;
  for (ASNumber as : entry.path) wide = wide || as > kLargestAS16;
  if (wide != entry.pathHasWideAS) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  MemoryByteSource source(bytes, size);
  ReadStats stats;
  MrtReader reader(source, &stats);
  CheckProblems problems;
  reader.setProblemListener(&problems);
  MrtEntry entry;
  MrtStatus status;
  uint64_t lastOffset = 0;
  while ((status = reader.next(entry)) == MrtStatus::entry || status == MrtStatus::damaged) {
    if (status == MrtStatus::entry) checkEntry(entry, size, lastOffset);
  }
  if (status == MrtStatus::readError) abort();  // memory cannot fail
  if (status != MrtStatus::end && reader.errReason()[0] == '\0') abort();
  if (reader.next(entry) != MrtStatus::end) abort();
  return 0;
}
