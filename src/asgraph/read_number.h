// Integers read from text in the manner of std::from_chars: every reader takes the characters
// [first, last), never looks past `last`, allocates nothing and says where it stopped. One core
// reads the digits of a base under one overflow rule; the variants are the few conventions the
// input formats inherited from the C library, each a thin wrapper of the core:
//   readStrtol        strtol(text, &end, 10): path lists, saturation files, the command line
//   readScanInteger   scanf's "%i" (0x hexadecimal, 0 octal): relationship and couple files
//   readWholeDecimal  a bounded decimal field that must fill the text: dump columns
// The readers of AS numbers (asdot, tokens of the modern formats) build on these in as_number.h.
// Header-only, so that the parsers and the graph file reader inline it into their line loops.
#ifndef ZELGRIN_ASGRAPH_READ_NUMBER_H
#define ZELGRIN_ASGRAPH_READ_NUMBER_H

#include <climits>

// How a reading of digits ended.
enum class NumberStatus {
  ok,
  noDigits,    // no digit at `first`: the reading stopped there and the value is unchanged
  outOfRange,  // the digits name a value above the limit: the value is the limit
};

struct NumberRead {
  const char* ptr;  // past the last digit read; `first` when there was none
  NumberStatus status;
};

// The value of a digit of base 2 to 16 (letters in either case), or 99 for any other character.
inline unsigned digitValue(char c) {
  const unsigned decimal = static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned('0');
  if (decimal <= 9) return decimal;
  const unsigned letter = (static_cast<unsigned>(static_cast<unsigned char>(c)) | 0x20u) - 'a';
  return letter < 6 ? letter + 10 : 99;
}

// The core: every digit of `base` from `first` on, without sign or white space. The one overflow
// rule: a value above `limit` reads as `limit` with outOfRange, and its remaining digits are
// still taken, so that the caller decides between saturating and refusing.
inline NumberRead readDigits(const char* first, const char* last, unsigned long long& value,
                             unsigned long long limit = ULLONG_MAX, unsigned base = 10) {
  // A constant base of 10 or less leaves only the first test of digitOf in the caller's loop.
  auto digitOf = [base](char c) {
    return base <= 10 ? static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned('0')
                      : digitValue(c);
  };
  const char* p = first;
  unsigned long long sum = 0;
  for (unsigned digit; p != last && (digit = digitOf(*p)) < base; ++p) sum = sum * base + digit;
  if (p == first) return {first, NumberStatus::noDigits};
  // So many digits cannot pass 64 bits (base^n < 2^64), so the common number needs no test for
  // overflow while it is read; a longer one is read again, checked.
  const long safeDigits = base <= 8 ? 21 : base <= 10 ? 19 : 15;
  bool over = sum > limit;
  if (p - first > safeDigits) {
    sum = 0;
    over = false;
    for (const char* q = first; q != p && !over; ++q) {
      over = __builtin_mul_overflow(sum, base, &sum) ||
             __builtin_add_overflow(sum, digitOf(*q), &sum) || sum > limit;
    }
  }
  value = over ? limit : sum;
  return {p, over ? NumberStatus::outOfRange : NumberStatus::ok};
}

// The white space the C library's conversions pass over: space, \t, \n, \v, \f, \r.
inline bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Passes the white space and the sign that may stand before a number in the C library's
// conversions; `negative` tells which sign it was.
inline const char* skipSpaceAndSign(const char* first, const char* last, bool& negative) {
  negative = false;
  // White space and signs all come before '.' in ASCII: a number's first digit is told at once.
  if (first == last || static_cast<unsigned char>(*first) > '-') return first;
  while (first != last && isCSpace(*first)) ++first;
  negative = first != last && *first == '-';
  if (first != last && (*first == '+' || *first == '-')) ++first;
  return first;
}

// The magnitude limit of a signed 64-bit value of the given sign, and the value itself.
inline unsigned long long signedLimit(bool negative) {
  return negative ? 0ull + LLONG_MAX + 1 : 0ull + LLONG_MAX;
}
inline long long applySign(bool negative, unsigned long long magnitude) {
  return negative ? static_cast<long long>(0ull - magnitude) : static_cast<long long>(magnitude);
}

// strtol(text, &end, 10) where long has 64 bits: white space, a sign and decimal digits, a value
// past the range saturating to LLONG_MAX or LLONG_MIN. Returns where the reading stopped:
// `first` itself, with value 0, when no digit follows the white space and sign.
inline const char* readStrtol(const char* first, const char* last, long long& value) {
  bool negative = false;
  const char* p = skipSpaceAndSign(first, last, negative);
  unsigned long long magnitude = 0;
  const NumberRead read = readDigits(p, last, magnitude, signedLimit(negative));
  value = applySign(negative, magnitude);
  return read.status == NumberStatus::noDigits ? first : read.ptr;
}

// scanf's "%i": white space, a sign, then hexadecimal after "0x"/"0X" (a bare "0x" reads as 0
// and is passed), octal after a leading 0, else decimal; a value past the range saturates as in
// readStrtol. Returns where the reading stopped: `first` itself, value unchanged, when no decimal
// digit follows the white space and sign.
inline const char* readScanInteger(const char* first, const char* last, long long& value) {
  // A lone 0, as in most addresses ("10.0.0.0"): octal with nothing after its prefix.
  if (first != last && *first == '0' &&
      (first + 1 == last || (digitValue(first[1]) > 7 && (first[1] | 0x20) != 'x'))) {
    value = 0;
    return first + 1;
  }
  if (first != last && *first >= '1' && *first <= '9') {
    // Plain decimal, as most numbers are: no sign and no base prefix to look for.
    unsigned long long magnitude = 0;
    const NumberRead read = readDigits(first, last, magnitude, signedLimit(false));
    value = static_cast<long long>(magnitude);
    return read.ptr;
  }
  bool negative = false;
  const char* p = skipSpaceAndSign(first, last, negative);
  if (p == last || *p < '0' || *p > '9') return first;
  unsigned base = 10;
  if (*p == '0') {
    ++p;
    base = 8;
    if (p != last && (*p == 'x' || *p == 'X')) {
      ++p;
      base = 16;
    }
  }
  unsigned long long magnitude = 0;
  const NumberRead read = readDigits(p, last, magnitude, signedLimit(negative), base);
  value = applySign(negative, magnitude);
  return read.ptr;
}

// A decimal number filling all of [first, last), with the white space and sign of the C library
// before it, from 0 to `maximum`. A larger number is refused rather than saturated, and so is a
// negative one but "-0", rather than wrapped around.
inline bool readWholeDecimal(const char* first, const char* last, unsigned long long maximum,
                             unsigned long long& value) {
  bool negative = false;
  const char* p = skipSpaceAndSign(first, last, negative);
  unsigned long long magnitude = 0;
  const NumberRead read = readDigits(p, last, magnitude, maximum);
  if (read.status != NumberStatus::ok || read.ptr != last || (negative && magnitude != 0)) {
    return false;
  }
  value = magnitude;
  return true;
}

#endif  // ZELGRIN_ASGRAPH_READ_NUMBER_H
