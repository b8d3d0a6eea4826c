#include "asgraph/as_number.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const ASWidth kNarrow{false};
const ASWidth kWide{true};

TEST(ASNumberTest, RangeFollowsTheWidthOfTheRun) {
  struct Case {
    long long value;
    bool zeroAllowed;
    bool in16;
    bool in32;
  } cases[] = {
      {0, false, false, false},
      {0, true, true, true},
      {1, false, true, true},
      {65535, false, true, true},
      {65536, false, false, true},
      {4294967295LL, false, false, true},
      {4294967296LL, false, false, false},
      {-1, true, false, false},
      {-4294967295LL, true, false, false},
  };
  for (const Case& c : cases) {
    const unsigned long long value = static_cast<unsigned long long>(c.value);
    EXPECT_EQ(kNarrow.accepts(value, c.zeroAllowed), c.in16) << c.value;
    EXPECT_EQ(kWide.accepts(value, c.zeroAllowed), c.in32) << c.value;
    EXPECT_EQ(onlyInWideRun(value), !c.in16 && c.in32) << c.value;
  }
}

TEST(ASNumberTest, TokensInPlainAndDotNotation) {
  const ASRead ok = ASRead::ok, bad = ASRead::invalid, above = ASRead::aboveLimit;
  struct Case {
    const char* token;
    ASRead in16;
    ASRead in32;
    ASNumber value;  // when ok in the 32-bit run
  } cases[] = {
      {"701", ok, ok, 701},
      {"65535", ok, ok, 65535},
      {"65536", above, ok, 65536},
      {"4294967295", above, ok, 4294967295u},
      {"4294967296", bad, bad, 0},
      {"99999999999999999999", bad, bad, 0},
      {"1.10", above, ok, 65546},
      {"0.5", bad, ok, 5},
      {"65535.65535", above, ok, 4294967295u},
      {"1.", bad, bad, 0},
      {".5", bad, bad, 0},
      {"1.2.3", bad, bad, 0},
      {"65536.1", bad, bad, 0},
      {"1.65536", bad, bad, 0},
      {"0", bad, bad, 0},
      {"0.0", bad, bad, 0},
      {"+5", bad, bad, 0},
      {" 5", bad, bad, 0},
      {"5i", bad, bad, 0},
      {"", bad, bad, 0},
  };
  for (const Case& c : cases) {
    ASNumber as = 0;
    EXPECT_EQ(readASToken(c.token, std::strlen(c.token), as, kNarrow), c.in16) << c.token;
    as = 0;
    EXPECT_EQ(readASToken(c.token, std::strlen(c.token), as, kWide), c.in32) << c.token;
    if (c.in32 == ok) {
      EXPECT_EQ(as, c.value) << c.token;
    }
  }
  ASNumber as = 7;
  EXPECT_EQ(readASToken("0", 1, as, kNarrow, true), ASRead::ok);
  EXPECT_EQ(as, 0u);
}

// The asdot tail that the strtol and "%i" readers of AS numbers take in a wide run only.
TEST(ASNumberTest, AsdotTailAfterLibraryNumbers) {
  struct Case {
    const char* text;
    bool scan;       // read as "%i" (scanASInteger), else as strtol (readDecimalAS)
    int consumed16;  // the number alone
    int consumed32;
    long long value32;
  } cases[] = {
      {"1.10 5", false, 1, 4, 65546},  {"+1.10", false, 2, 5, 65546},
      {"0x1.5", true, 3, 5, 65541},    {"010.1", true, 3, 5, 8 * 65536 + 1},
      {"1.", false, 1, 1, 1},          {"1.x", true, 1, 1, 1},
      {"65536.1", false, 5, 5, 65536}, {"1.65536", true, 1, 1, 1},
      {"-1.5", false, 2, 2, -1},       {"65535.65535", true, 5, 11, 4294967295LL},
  };
  for (const Case& c : cases) {
    const char* last = c.text + std::strlen(c.text);
    for (const ASWidth width : {kNarrow, kWide}) {
      long long value = 0;
      const char* end = c.scan ? scanASInteger(c.text, last, value, width)
                               : readDecimalAS(c.text, last, value, width);
      EXPECT_EQ(end - c.text, width.wide ? c.consumed32 : c.consumed16) << c.text;
      if (width.wide) {
        EXPECT_EQ(value, c.value32) << c.text;
      }
    }
  }
}

TEST(ASNumberTest, PrivateRanges) {
  for (ASNumber as : {64511u, 4199999999u, 4294967295u, 1u}) EXPECT_FALSE(isPrivateAS(as)) << as;
  for (ASNumber as : {64512u, 65534u, 65535u, 4200000000u, 4294967294u}) {
    EXPECT_TRUE(isPrivateAS(as)) << as;
  }
}

}  // namespace
