// The AS number: its storage type, the width a run accepts, the one range check and the readers
// that every format, the command line and the graph file use. The width is a value handed to
// each reader (16 bits by default, 32 bits when asked for), never a setting of the program.
// Like EdgeDir.h it sits alone and header-only, so that the parsers may include it without
// knowing the rest of the AS graph.
#ifndef ZELGRIN_ASGRAPH_AS_NUMBER_H
#define ZELGRIN_ASGRAPH_AS_NUMBER_H

#include <cstddef>
#include <cstdint>

#include "asgraph/read_number.h"

// Storage for any AS number, 16- or 32-bit: node values and keys, path items, vantage points.
using ASNumber = std::uint32_t;

constexpr ASNumber kLargestAS16 = 65535;
constexpr ASNumber kLargestAS32 = 4294967295u;

// The width of AS numbers a run accepts. Every reader of AS numbers is handed one, so widening
// the run widens every reader at once.
struct ASWidth {
  bool wide = false;

  // 65535, or 4294967295 when wide.
  ASNumber largest() const { return wide ? kLargestAS32 : kLargestAS16; }
  // The one range check: true when value is an AS number of this run, from 1 (from 0 when
  // zeroAllowed) to largest(). A negative number converts to a huge unsigned one and so fails,
  // whatever signed type the caller read it as.
  bool accepts(unsigned long long value, bool zeroAllowed = false) const {
    return value >= (zeroAllowed ? 0u : 1u) && value <= largest();
  }
};

// True when a 16-bit run refuses `value` for its width alone: a report can tell such a line from
// one that is wrong whatever the width.
inline bool onlyInWideRun(unsigned long long value) {
  return value > kLargestAS16 && value <= kLargestAS32;
}

// The reason under which reports count what a 16-bit run refused for an AS number alone.
constexpr const char* kAboveAS16Reason = "AS number above 65535 (use --as32)";

// AS numbers for private use (RFC 6996): 64512 to 65534 and 4200000000 to 4294967294, and
// 65535 with them, as routers have always marked everything above 64511.
inline bool isPrivateAS(ASNumber as) {
  return (as > 64511 && as <= kLargestAS16) || (as >= 4200000000u && as < kLargestAS32);
}

// asdot, for readers that read the number before the dot with their own rules: when the run is
// wide, `end` points at a dot right after the last digit of `high` (0 to 65535) and decimal
// digits of a value 0 to 65535 follow before `last`, gives high * 65536 + low in `value`, moves
// `end` past the digits and returns true. Otherwise returns false and moves nothing, so the
// reader goes on as it would with a 16-bit run ("1.", ".5", "65536.1" and "1.65536" are no asdot).
inline bool readAsdotTail(const char* start, const char*& end, const char* last, long long high,
                          long long& value, ASWidth width) {
  if (!width.wide || end == start || end == last || *end != '.' || end[-1] < '0' || end[-1] > '9' ||
      high < 0 || high > 65535) {
    return false;
  }
  unsigned long long low = 0;
  const NumberRead read = readDigits(end + 1, last, low, 65535);
  if (read.status != NumberStatus::ok) return false;
  value = high * 65536 + static_cast<long long>(low);
  end = read.ptr;
  return true;
}

// An AS number read as strtol reads a decimal number (readStrtol), followed in a wide run by an
// asdot low part. Returns where the reading stopped: `first` itself when no number starts there.
inline const char* readDecimalAS(const char* first, const char* last, long long& value,
                                 ASWidth width) {
  const char* end = readStrtol(first, last, value);
  readAsdotTail(first, end, last, value, value, width);
  return end;
}

// An AS number read as "%i" reads a number (readScanInteger), followed in a wide run by an asdot
// low part ("1.10" is 65546). Returns where the reading stopped: `first` itself, value
// unchanged, when no number starts there.
inline const char* scanASInteger(const char* first, const char* last, long long& value,
                                 ASWidth width) {
  const char* end = readScanInteger(first, last, value);
  if (end != first) readAsdotTail(first, end, last, value, value, width);
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
inline ASRead readASToken(const char* text, std::size_t length, ASNumber& as, ASWidth width,
                          bool zeroAllowed = false) {
  const char* last = text + length;
  unsigned long long value = 0;
  NumberRead read = readDigits(text, last, value, kLargestAS32);
  if (read.status != NumberStatus::ok) return ASRead::invalid;
  if (read.ptr != last) {
    // asdot: digits, one dot, digits, each half up to 65535.
    unsigned long long low = 0;
    if (*read.ptr != '.' || value > 65535) return ASRead::invalid;
    const unsigned long long high = value;
    read = readDigits(read.ptr + 1, last, low, 65535);
    if (read.status != NumberStatus::ok || read.ptr != last) return ASRead::invalid;
    if (!width.wide) return high > 0 ? ASRead::aboveLimit : ASRead::invalid;
    value = (high << 16) | low;
  }
  if (value == 0 && !zeroAllowed) return ASRead::invalid;
  if (value > width.largest()) return ASRead::aboveLimit;
  as = static_cast<ASNumber>(value);
  return ASRead::ok;
}

#endif  // ZELGRIN_ASGRAPH_AS_NUMBER_H
