#include "ip/address_ranges.h"

#include <gtest/gtest.h>

TEST(AddressRangesTest, ReadsPrefixListsExactly) {
  struct Case {
    const char* text;
    bool ok;
    const char* bad;
  } cases[] = {
      {"10.0.0.0/8", true, ""},
      {"0.0.0.0/0", true, ""},
      {"10.0.0.0/8,192.0.2.0/24", true, ""},
      {"10.0.0.1/8", false, "10.0.0.1/8"},
      {"10.0.0.0/33", false, "10.0.0.0/33"},
      {"10.0.0/8", false, "10.0.0/8"},
      {"256.0.0.0/8", false, "256.0.0.0/8"},
      {"10.0.0.0/8,", false, ""},
      {"10.0.0.0", false, "10.0.0.0"},
      {"+10.0.0.0/8", false, "+10.0.0.0/8"},
      {"10.0.0.0/8 ", false, "10.0.0.0/8 "},
  };
  for (const Case& c : cases) {
    AddressRanges ranges;
    std::string bad;
    EXPECT_EQ(ranges.addList(c.text, bad), c.ok) << c.text;
    if (!c.ok) {
      EXPECT_EQ(bad, c.bad) << c.text;
    }
  }
}

TEST(AddressRangesTest, CountsTheAddressesInsideAnInterval) {
  AddressRanges ranges;
  std::string bad;
  // Overlapping and touching prefixes become one interval: 10.0.0.0 to 10.1.255.255.
  ASSERT_TRUE(ranges.addList("10.1.0.0/16,10.0.0.0/16,10.0.128.0/17,192.0.2.0/24", bad));
  const std::uint32_t ten = 10u << 24, test = (192u << 24) | (2u << 8);
  struct Case {
    std::uint32_t first, last;
    std::uint64_t count;
  } cases[] = {
      {0, 0xFFFFFFFFu, 131072 + 256}, {ten, ten + 65535, 65536}, {ten + 100, ten + 199, 100},
      {ten - 5, ten + 4, 5},          {ten + 131071, test, 2},   {test + 256, 0xFFFFFFFFu, 0},
      {ten + 5, ten + 4, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ranges.countWithin(c.first, c.last), c.count) << c.first;
}
