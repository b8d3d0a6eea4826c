// The run of decimal digits at the start of a token, read eight bytes at a time. A number of a
// path or a table is a few digits of unpredictable length: a loop over its characters pays a
// mispredicted branch where each number ends, this reading none for numbers of up to eight
// digits. Header-only, so that the line loops inline it.
#ifndef ZELGRIN_PARSERS_DIGIT_RUN_H
#define ZELGRIN_PARSERS_DIGIT_RUN_H

#include <cstdint>
#include <cstring>

// The value of the digits from `first` on, before `last`, and where they end: what a loop
// taking digits while it may would give. More than nineteen digits wrap around 64 bits, so a
// caller that cares checks the count. Reads no byte before `begin` (a text's start, `first`
// by default) nor at or past `last`: a number near the end of its text, as the last of a line
// is, is read from the eight bytes that end the text.
inline const char* readDigitRun(const char* first, const char* last, unsigned long long& value,
                                const char* begin = nullptr) {
  const char* p = first;
  unsigned long long sum = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  if (begin == nullptr) begin = first;
  if (last - begin >= 8) {
    std::uint64_t bytes;
    const std::ptrdiff_t left = last - first;
    if (left >= 8) {
      std::memcpy(&bytes, first, 8);
    } else {
      // The bytes past `last` come in as zeros, which end the digits.
      std::memcpy(&bytes, last - 8, 8);
      bytes = left == 0 ? 0 : bytes >> (8 * (8 - left));
    }
    // A byte is a digit when its high half is 3 and adding 6 keeps it so. A carry out of a
    // byte only reaches the bytes after it, so the count of leading digits is exact.
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull;
    constexpr std::uint64_t kThrees = 0x3030303030303030ull;
    const std::uint64_t other =
        ((bytes & kHigh) ^ kThrees) | (((bytes + 0x0606060606060606ull) & kHigh) ^ kThrees);
    const unsigned count = other == 0 ? 8u : static_cast<unsigned>(__builtin_ctzll(other)) / 8;
    if (count == 0) {
      value = 0;
      return first;
    }
    // The digits to the top bytes, zero bytes before them as leading zeros; then pairs,
    // quads and the whole are combined by multiplication.
    std::uint64_t v = bytes << (8 * (8 - count));
    v = ((v & 0x0F0F0F0F0F0F0F0Full) * 2561) >> 8;
    v = ((v & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
    v = ((v & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32;
    sum = v;
    p += count;
    if (count < 8) {
      value = sum;
      return p;
    }
  }
#endif
  for (unsigned digit; p != last && (digit = static_cast<unsigned char>(*p) - unsigned('0')) <= 9;
       ++p) {
    sum = sum * 10 + digit;
  }
  value = sum;
  return p;
}

#endif  // ZELGRIN_PARSERS_DIGIT_RUN_H
