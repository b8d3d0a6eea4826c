// Feeds arbitrary bytes to the number readers and checks each against the C library it stands
// for (strtol, sscanf's "%lli", strtoull) and against the reading of the same text cut short,
// which must never look past its end.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "asgraph/as_number.h"
#include "asgraph/read_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  // The C library reads up to a NUL: the text ends at the first one.
  const char* raw = reinterpret_cast<const char*>(bytes);
  const std::string text(raw, strnlen(raw, size));
  const char* first = text.c_str();
  const char* last = first + text.size();

  char* end = nullptr;
  const long expected = std::strtol(first, &end, 10);
  long long value = 0;
  if (readStrtol(first, last, value) != end || value != expected) std::abort();

  long long scanned = 0;
  int consumed = 0;
  const bool matched = std::sscanf(first, "%lli%n", &scanned, &consumed) == 1;
  value = -1;
  const char* stop = readScanInteger(first, last, value);
  // glibc's scanf does not saturate; compare only where no overflow is involved.
  if (matched && scanned != LLONG_MAX && scanned != LLONG_MIN) {
    if (stop - first != consumed || value != scanned) std::abort();
  }
  if (!matched && stop != first) std::abort();

  unsigned long long whole = 0;
  if (readWholeDecimal(first, last, ULLONG_MAX, whole)) {
    const unsigned long long library = std::strtoull(first, &end, 10);
    if (*end != '\0' || library != whole) std::abort();
  }

  // Any prefix of the text, copied to a buffer of exactly its size (without a NUL after it, so
  // that the sanitizer sees any reading past the end), reads as the same text cut there.
  for (size_t cut = 0; cut <= text.size() && cut < 24; ++cut) {
    std::unique_ptr<char[]> exact(new char[cut + 1]);
    char* part = exact.get() + 1;  // the byte before stays out of the text, too
    std::memcpy(part, first, cut);
    long long a = 0;
    long long b = 0;
    const long readA = readStrtol(first, first + cut, a) - first;
    const long readB = readStrtol(part, part + cut, b) - part;
    if (readA != readB || a != b) std::abort();
    const long scanA = readScanInteger(first, first + cut, a) - first;
    const long scanB = readScanInteger(part, part + cut, b) - part;
    if (scanA != scanB || (scanA != 0 && a != b)) std::abort();
    for (const ASWidth width : {ASWidth{false}, ASWidth{true}}) {
      ASNumber as = 0;
      const ASRead read = readASToken(part, cut, as, width);
      if (read == ASRead::ok && (as == 0 || as > width.largest())) std::abort();
      long long asdot = 0;
      const char* asEnd = scanASInteger(part, part + cut, asdot, width);
      if (asEnd < part || asEnd > part + cut) std::abort();
      asEnd = readDecimalAS(part, part + cut, asdot, width);
      if (asEnd < part || asEnd > part + cut) std::abort();
    }
  }
  return 0;
}
