#include "asgraph/read_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The inputs on which each variant must agree with the C library it stands for, overflow aside.
const char* const kLibraryInputs[] = {
    "0x10", "020",  "08",   "-0x10", "+7",     "- 5",    "+ 5", "0X1F", " \t\v\f12", "0x",
    "0xg",  "0x-5", "00x5", "-08",   "0",      "0.",     "0a",  "09",   "abc",       "",
    "  ",   "-",    "1-2",  "0777",  "0xfFfF", "65535x", "9",   "-0",   "12 3"};

TEST(ReadNumberTest, StrtolAndScanIntegerReadAsTheCLibraryDoes) {
  for (const char* input : kLibraryInputs) {
    const char* last = input + std::strlen(input);
    char* end = nullptr;
    const long expected = std::strtol(input, &end, 10);
    long long value = -99;
    EXPECT_EQ(readStrtol(input, last, value), end) << input;
    EXPECT_EQ(value, expected) << input;

    long long scanned = 0;
    int consumed = -1;
    const bool matched = std::sscanf(input, "%lli%n", &scanned, &consumed) == 1;
    value = -99;
    const char* stop = readScanInteger(input, last, value);
    EXPECT_EQ(stop - input, matched ? consumed : 0) << input;
    EXPECT_EQ(value, matched ? scanned : -99) << input;
  }
}

// Where the variants part from each other and from the library: overflow, the end of the text,
// and what a field must hold.
TEST(ReadNumberTest, OverflowAndBoundsOfEachVariant) {
  enum Variant { digits, strtol, scanInteger, wholeTo65535, wholeTo64Bits };
  struct Case {
    Variant variant;
    const char* text;
    int length;    // of the text given to the reader; -1 for all of it
    int consumed;  // -1 when the reader refuses the text
    unsigned long long value;
  } cases[] = {
      {digits, "123x", -1, 3, 123},
      {digits, "+1", -1, -1, 0},
      {digits, "12345", 3, 3, 123},
      {digits, "18446744073709551615", -1, 20, ULLONG_MAX},
      {strtol, "9223372036854775807", -1, 19, LLONG_MAX},
      {strtol, "99999999999999999999999x", -1, 23, LLONG_MAX},
      {strtol, "-99999999999999999999999", -1, 24, 0ull + LLONG_MIN},
      {strtol, "12345", 2, 2, 12},
      {scanInteger, "0x8000000000000000", -1, 18, LLONG_MAX},
      {scanInteger, "-01777777777777777777777", -1, 24, 0ull + LLONG_MIN},
      {scanInteger, "0x1f", 3, 3, 1},
      {wholeTo65535, "65535", -1, 5, 65535},
      {wholeTo65535, "65536", -1, -1, 0},
      {wholeTo65535, " \t+7", -1, 4, 7},
      {wholeTo65535, "-0", -1, 2, 0},
      {wholeTo65535, "-1", -1, -1, 0},
      {wholeTo65535, "7 ", -1, -1, 0},
      {wholeTo65535, "+", -1, -1, 0},
      {wholeTo65535, "", -1, -1, 0},
      {wholeTo64Bits, "18446744073709551615", -1, 20, ULLONG_MAX},
      {wholeTo64Bits, "18446744073709551616", -1, -1, 0},
  };
  for (const Case& c : cases) {
    const char* last = c.text + (c.length < 0 ? std::strlen(c.text) : std::size_t(c.length));
    int consumed = -1;
    unsigned long long value = 0;
    long long signedValue = 0;
    switch (c.variant) {
      case digits: {
        const NumberRead read = readDigits(c.text, last, value);
        if (read.status == NumberStatus::ok) consumed = static_cast<int>(read.ptr - c.text);
        break;
      }
      case strtol:
      case scanInteger: {
        const char* end = c.variant == strtol ? readStrtol(c.text, last, signedValue)
                                              : readScanInteger(c.text, last, signedValue);
        if (end != c.text) consumed = static_cast<int>(end - c.text);
        value = static_cast<unsigned long long>(signedValue);
        break;
      }
      case wholeTo65535:
      case wholeTo64Bits:
        if (readWholeDecimal(c.text, last, c.variant == wholeTo65535 ? 65535 : ULLONG_MAX, value)) {
          consumed = static_cast<int>(last - c.text);
        }
        break;
    }
    EXPECT_EQ(consumed, c.consumed) << c.variant << " " << c.text;
    if (c.consumed >= 0) {
      EXPECT_EQ(value, c.value) << c.variant << " " << c.text;
    }
  }
}

TEST(ReadNumberTest, DigitsPastTheLimitAreTakenAndReadAsTheLimit) {
  unsigned long long value = 0;
  const char* text = "70000 1";
  const NumberRead read = readDigits(text, text + 7, value, 65535);
  EXPECT_EQ(read.status, NumberStatus::outOfRange);
  EXPECT_EQ(read.ptr, text + 5);
  EXPECT_EQ(value, 65535u);
}

}  // namespace
