#include "parsers/vantage_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "parsers/temp_files.h"

namespace {

TEST(VantageParserTest, LinesAndMessages) {
  struct Case {
    const char* line;
    int code;
    const char* reason;
    ASNumber from, to;
    bool peering;
  } cases[] = {
      {"1 2 1", 0, "", 2, 1, false},
      {"1 2 0", 0, "", 2, 1, true},
      {"0x10 020 1", 0, "", 16, 16, false},
      {"0 65535 0 trailing text", 0, "", 65535, 0, true},
      {"\t7018  701\t1", 0, "", 701, 7018, false},
      {"08 1", 0, "", 8, 0, false},  // "%i" reads 0, then 8, then 1
      {"1 2 2", 3, "Edge direction cannot be `2'", 0, 0, false},
      {"1 2 -1", 3, "Edge direction cannot be `-1'", 0, 0, false},
      {"65536 1 1", 3, "Invalid AS number: `65536'", 0, 0, false},
      {"1 -1 1", 3, "Invalid AS number: `-1'", 0, 0, false},
      {"1 0x10000 1", 3, "Invalid AS number: `65536'", 0, 0, false},
      // Past the int range a number is not wrapped into a valid AS.
      {"4294967297 1 1", 3, "Invalid AS number: `4294967297'", 0, 0, false},
      {"1 2 4294967296", 3, "Edge direction cannot be `4294967296'", 0, 0, false},
      {"1 2 x", 4, "Unable to find either AS number and/or direction", 0, 0, false},
      {"1,2,1", 4, "Unable to find either AS number and/or direction", 0, 0, false},
      {"     ", 4, "Unable to find either AS number and/or direction", 0, 0, false},
  };
  for (const Case& c : cases) {
    TempFiles files;
    VantageParser parser;
    parser.data.peering = true;
    ASSERT_TRUE(parser.openFile(files.write(std::string(c.line) + "\n").c_str()));
    ASSERT_EQ(parser.nextLine(), 0) << c.line;
    EXPECT_EQ(parser.parseLine(), c.code) << c.line;
    EXPECT_STREQ(parser.errReason(), c.reason) << c.line;
    EXPECT_STREQ(parser.currentLine(), c.line);
    if (c.code == 0) {
      EXPECT_EQ(parser.data.from, c.from) << c.line;
      EXPECT_EQ(parser.data.to, c.to) << c.line;
      EXPECT_EQ(parser.data.peering, c.peering) << c.line;
    } else {
      EXPECT_FALSE(parser.data.peering) << c.line;  // cleared before the numbers are read
    }
  }
}

TEST(VantageParserTest, ShortLinesAreSkippedSilently) {
  TempFiles files;
  VantageParser parser;
  ASSERT_TRUE(parser.openFile(files.write("1 2\n\n12\r\n3 4 1\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.readLines(), 4u);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(parser.data.from, 4);
  EXPECT_EQ(parser.data.to, 3);
  EXPECT_EQ(parser.nextLine(), 1);
}

}  // namespace
