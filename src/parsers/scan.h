// Scanning helpers shared by the line parsers: C's "%i" conversion without its int overflow, and
// splitting a work copy of a line into tokens in place.
#ifndef ZELGRIN_PARSERS_SCAN_H
#define ZELGRIN_PARSERS_SCAN_H

#include <cstddef>

// Reads one "%i" number at `text` as scanf does: skips white space, takes an optional sign, then
// hexadecimal after "0x"/"0X" (a bare "0x" reads as 0), octal after a leading 0, else decimal.
// On success stores the value and moves `text` past it; false and nothing moved when no number
// starts there. Values beyond the long long range saturate instead of wrapping.
bool scanInteger(const char*& text, long long& value);

// Reads up to `wanted` numbers as the format "%i %i ..." does and returns how many were read.
int scanIntegers(const char* text, long long* values, int wanted);

// An AS number read as scanInteger reads a number, followed in a wide run by an asdot low part
// ("1.10" is 65546). False and nothing moved when no number starts at `text`.
bool scanASInteger(const char*& text, long long& value);

// Splits a NUL-terminated buffer in place at spaces and tabs, token by token.
class TokenSplitter {
 public:
  explicit TokenSplitter(char* text) : rest_(text) {}
  // The next token, NUL-terminated inside the buffer, or null when none is left.
  char* next();
  // Passes over up to `count` tokens; false when the buffer ran out first.
  bool skip(int count);

 private:
  char* rest_;
};

#endif  // ZELGRIN_PARSERS_SCAN_H
