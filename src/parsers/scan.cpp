#include "parsers/scan.h"

#include <climits>

#include "asgraph/as_number.h"

namespace {

bool isScanSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool scanInteger(const char*& text, long long& value) {
  const char* p = text;
  while (isScanSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (digitValue(*p) > 9) return false;
  int base = 10;
  if (*p == '0') {
    ++p;
    base = 8;
    if (*p == 'x' || *p == 'X') {
      ++p;
      base = 16;
    }
  }
  // Accumulate in unsigned so that a long run of digits saturates instead of overflowing.
  const unsigned long long limit = negative ? 0ULL + LLONG_MAX + 1 : LLONG_MAX;
  unsigned long long magnitude = 0;
  for (int d = digitValue(*p); d < base; d = digitValue(*++p)) {
    if (magnitude > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) {
      magnitude = limit;
    } else {
      magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
  }
  if (negative) {
    value = magnitude == limit ? LLONG_MIN : -static_cast<long long>(magnitude);
  } else {
    value = static_cast<long long>(magnitude);
  }
  text = p;
  return true;
}

int scanIntegers(const char* text, long long* values, int wanted) {
  int read = 0;
  while (read < wanted && scanInteger(text, values[read])) ++read;
  return read;
}

bool scanASInteger(const char*& text, long long& value) {
  const char* start = text;
  if (!scanInteger(text, value)) return false;
  readAsdotTail(start, text, value, value);
  return true;
}

char* TokenSplitter::next() {
  while (isBlank(*rest_)) ++rest_;
  if (*rest_ == '\0') return nullptr;
  char* token = rest_;
  while (*rest_ != '\0' && !isBlank(*rest_)) ++rest_;
  if (*rest_ != '\0') *rest_++ = '\0';
  return token;
}

bool TokenSplitter::skip(int count) {
  for (; count > 0; --count) {
    if (next() == nullptr) return false;
  }
  return true;
}
