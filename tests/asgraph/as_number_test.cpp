#include "asgraph/as_number.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Every test leaves the run 16-bit, as the program starts.
class ASNumberTest : public ::testing::Test {
 protected:
  void TearDown() override { ASWidth::setWide(false); }
};

TEST_F(ASNumberTest, RangeFollowsTheWidthOfTheRun) {
  struct Case {
    long long value;
    bool zeroAllowed;
    bool in16;
    bool in32;
  } cases[] = {
      {0, false, false, false},          {0, true, true, true},
      {1, false, true, true},            {65535, false, true, true},
      {65536, false, false, true},       {4294967295LL, false, false, true},
      {4294967296LL, false, false, false}, {-1, true, false, false},
      {-4294967295LL, true, false, false},
  };
  for (const Case& c : cases) {
    ASWidth::setWide(false);
    EXPECT_EQ(asInRange(static_cast<unsigned long long>(c.value), c.zeroAllowed), c.in16)
        << c.value;
    ASWidth::setWide(true);
    EXPECT_EQ(asInRange(static_cast<unsigned long long>(c.value), c.zeroAllowed), c.in32)
        << c.value;
  }
}

TEST_F(ASNumberTest, TokensInPlainAndDotNotation) {
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
    ASWidth::setWide(false);
    EXPECT_EQ(readASToken(c.token, std::strlen(c.token), as), c.in16) << c.token;
    ASWidth::setWide(true);
    as = 0;
    EXPECT_EQ(readASToken(c.token, std::strlen(c.token), as), c.in32) << c.token;
    if (c.in32 == ok) {
      EXPECT_EQ(as, c.value) << c.token;
    }
  }
  ASNumber as = 7;
  EXPECT_EQ(readASToken("0", 1, as, true), ASRead::ok);
  EXPECT_EQ(as, 0u);
}

TEST_F(ASNumberTest, PrivateRanges) {
  for (ASNumber as : {64511u, 4199999999u, 4294967295u, 1u}) EXPECT_FALSE(isPrivateAS(as)) << as;
  for (ASNumber as : {64512u, 65534u, 65535u, 4200000000u, 4294967294u}) {
    EXPECT_TRUE(isPrivateAS(as)) << as;
  }
}

}  // namespace
