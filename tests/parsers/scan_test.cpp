#include "parsers/scan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The platform's own "%lli" is the reference wherever no overflow is involved.
TEST(ScanTest, IntegerReadsAsScanfDoes) {
  const char* inputs[] = {"0x10", "020", "08", "-0x10", "+7", "- 5", "+ 5", "0X1F", " \t\v\f12",
                          "0x", "0xg", "0x-5", "00x5", "-08", "abc", "", "  ", "-", "1-2",
                          "0777", "0xfFfF", "65535x", "9"};
  for (const char* input : inputs) {
    long long expected = 0;
    int consumed = -1;
    int matched = std::sscanf(input, "%lli%n", &expected, &consumed);
    const char* cursor = input;
    long long value = -99;
    bool read = scanInteger(cursor, value);
    EXPECT_EQ(read, matched == 1) << input;
    if (matched == 1 && read) {
      EXPECT_EQ(value, expected) << input;
      EXPECT_EQ(cursor - input, consumed) << input;
    } else {
      EXPECT_EQ(cursor, input) << input;
    }
  }
}

TEST(ScanTest, HugeNumbersSaturateInsteadOfWrapping) {
  const char* text = "4294967297 99999999999999999999999 -99999999999999999999999";
  long long values[3];
  ASSERT_EQ(scanIntegers(text, values, 3), 3);
  EXPECT_EQ(values[0], 4294967297LL);
  EXPECT_EQ(values[1], LLONG_MAX);
  EXPECT_EQ(values[2], LLONG_MIN);
}

TEST(ScanTest, IntegersStopAtTheFirstMismatch) {
  struct Case {
    const char* text;
    int read;
  } cases[] = {{"1 2 3", 3}, {"1,2,3", 1}, {"1-2-3", 3}, {"1 2 3junk", 3}, {"", 0}, {"0xg 1 2", 1}};
  for (const Case& c : cases) {
    long long values[3];
    EXPECT_EQ(scanIntegers(c.text, values, 3), c.read) << c.text;
  }
}

TEST(ScanTest, TokensSplitAtSpacesAndTabsOnly) {
  std::string text = "\t a  b\tc,d \v ";
  TokenSplitter tokens(&text[0]);
  std::vector<std::string> seen;
  for (char* token = tokens.next(); token != nullptr; token = tokens.next()) seen.push_back(token);
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c,d", "\v"}));
  EXPECT_EQ(tokens.next(), nullptr);
  std::string two = "x y";
  TokenSplitter skipping(&two[0]);
  EXPECT_FALSE(skipping.skip(3));
}

}  // namespace
