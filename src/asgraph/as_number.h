// The AS number: its storage type, the widest value the run accepts, and the one range check
// every reader, the command line and the graph file use. The accepted width is a property of the
// run (16 bits by default, 32 bits when asked for), so it is set once before any input is read.
// Like edge_dir.h it sits alone and header-only, so that the parsers may include it without
// knowing the rest of the AS graph.
#ifndef ZELGRIN_ASGRAPH_AS_NUMBER_H
#define ZELGRIN_ASGRAPH_AS_NUMBER_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Storage for any AS number, 16- or 32-bit: node values and keys, path items, vantage points.
using ASNumber = std::uint32_t;

constexpr ASNumber kLargestAS16 = 65535;
constexpr ASNumber kLargestAS32 = 4294967295u;

// The width the run accepts. Everything that reads an AS number asks here, so widening the run
// widens every reader at once.
class ASWidth {
 public:
  // 65535 by default; 4294967295 once setWide(true) was called.
  static ASNumber largest() { return wide_ ? kLargestAS32 : kLargestAS16; }
  static bool wide() { return wide_; }
  static void setWide(bool wide) { wide_ = wide; }

  // How many numbers asInRange refused only because the run is 16-bit: a reader's report can
  // tell such a line from one that is wrong whatever the width.
  static std::uint64_t refusedAs16() { return refusedAs16_; }
  static void countRefusedAs16() { ++refusedAs16_; }

 private:
  static inline bool wide_ = false;
  static inline std::uint64_t refusedAs16_ = 0;
};

// The reason under which reports count what a 16-bit run refused for an AS number alone.
constexpr const char* kAboveAS16Reason = "AS number above 65535 (use --as32)";

// The one range check: true when value is an AS number of this run, from 1 (from 0 when
// zeroAllowed) to ASWidth::largest(). A negative number converts to a huge unsigned one and so
// fails, whatever signed type the caller read it as.
inline bool asInRange(unsigned long long value, bool zeroAllowed = false) {
  if (value >= (zeroAllowed ? 0u : 1u) && value <= ASWidth::largest()) return true;
  if (value > kLargestAS16 && value <= kLargestAS32) ASWidth::countRefusedAs16();
  return false;
}

// AS numbers for private use (RFC 6996): 64512 to 65534 and 4200000000 to 4294967294, and
// 65535 with them, as routers have always marked everything above 64511.
inline bool isPrivateAS(ASNumber as) {
  return (as > 64511 && as <= kLargestAS16) || (as >= 4200000000u && as < kLargestAS32);
}

// asdot, for readers that read the number before the dot with their own rules: when the run is
// wide, `end` points at a dot right after the last digit of `high` (0 to 65535) and decimal
// digits of a value 0 to 65535 follow, gives high * 65536 + low in `value`, moves `end` past
// the digits and returns true. Otherwise returns false and moves nothing, so the reader goes on
// as it would with a 16-bit run ("1.", ".5", "65536.1" and "1.65536" are no asdot).
inline bool readAsdotTail(const char* start, const char*& end, long long high, long long& value) {
  if (!ASWidth::wide() || end == start || *end != '.' || end[-1] < '0' || end[-1] > '9') {
    return false;
  }
  if (high < 0 || high > 65535 || end[1] < '0' || end[1] > '9') return false;
  const char* p = end + 1;
  long long low = 0;
  while (*p >= '0' && *p <= '9') {
    low = low * 10 + (*p++ - '0');
    if (low > 65535) return false;
  }
  value = high * 65536 + low;
  end = p;
  return true;
}

// An AS number read as strtol reads a decimal number, followed in a wide run by an asdot low
// part. Returns where the reading stopped: `text` itself when no number starts there.
inline const char* readDecimalAS(const char* text, long long& value) {
  char* stop = nullptr;
  value = std::strtol(text, &stop, 10);
  const char* end = stop;
  readAsdotTail(text, end, value, value);
  return end;
}

// How a token read as an AS number turned out.
enum class ASRead {
  ok,
  invalid,     // not a number, or malformed asdot
  aboveLimit,  // a well-formed AS number above 65535 in a 16-bit run
};

// Reads a whole token as an AS number for the readers of modern formats: asplain decimal digits
// ("65546"), or when the run is wide also asdot ("1.10" is 65546; each half 0 to 65535). No
// sign, no blanks. 0 counts as invalid unless zeroAllowed. In a 16-bit run an asdot word with a
// high half from 1 is aboveLimit, not invalid: routers print 32-bit AS numbers that way, and the
// user needs --as32 for them.
inline ASRead readASToken(const char* text, std::size_t length, ASNumber& as,
                          bool zeroAllowed = false) {
  unsigned long long parts[2] = {0, 0};
  int part = 0;
  std::size_t digits = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      parts[part] = parts[part] * 10 + static_cast<unsigned>(c - '0');
      if (parts[part] > kLargestAS32) return ASRead::invalid;
      ++digits;
    } else if (c == '.' && part == 0 && digits > 0) {
      part = 1;
      digits = 0;
    } else {
      return ASRead::invalid;
    }
  }
  if (digits == 0) return ASRead::invalid;
  unsigned long long value = parts[0];
  if (part == 1) {
    if (parts[0] > 65535 || parts[1] > 65535) return ASRead::invalid;
    if (!ASWidth::wide()) return parts[0] > 0 ? ASRead::aboveLimit : ASRead::invalid;
    value = (parts[0] << 16) | parts[1];
  }
  if (value == 0 && !zeroAllowed) return ASRead::invalid;
  if (value > ASWidth::largest()) return ASRead::aboveLimit;
  as = static_cast<ASNumber>(value);
  return ASRead::ok;
}

#endif  // ZELGRIN_ASGRAPH_AS_NUMBER_H
