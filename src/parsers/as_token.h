// Reading one AS number word for the readers of today's formats (router tables, relationship
// files), on top of the run's one range check in asgraph/as_number.h.
#ifndef ZELGRIN_PARSERS_AS_TOKEN_H
#define ZELGRIN_PARSERS_AS_TOKEN_H

#include <cstddef>

#include "asgraph/as_number.h"

// The skip reason every modern reader gives a record it leaves out for a 32-bit AS number.
inline constexpr const char kAboveAS16Reason[] = "AS number above 65535 (use --as32)";

// readASToken, except that an asdot word ("1.10") in a 16-bit run reads as aboveLimit rather
// than invalid: routers print 32-bit AS numbers that way, and the user needs --as32 for them.
inline ASRead readASWord(const char* text, std::size_t length, ASNumber& as) {
  const ASRead read = readASToken(text, length, as);
  if (read != ASRead::invalid || ASWidth::wide()) return read;
  // asdot: 1 to 5 digits, a dot, 1 to 5 digits, each half at most 65535, the high half not 0.
  unsigned long halves[2] = {0, 0};
  std::size_t digits[2] = {0, 0};
  int half = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c == '.' && half == 0) {
      half = 1;
    } else if (c >= '0' && c <= '9' && digits[half] < 5) {
      halves[half] = halves[half] * 10 + static_cast<unsigned long>(c - '0');
      ++digits[half];
    } else {
      return read;
    }
  }
  if (half == 0 || digits[0] == 0 || digits[1] == 0) return read;
  if (halves[0] == 0 || halves[0] > 65535 || halves[1] > 65535) return read;
  return ASRead::aboveLimit;
}

#endif  // ZELGRIN_PARSERS_AS_TOKEN_H
