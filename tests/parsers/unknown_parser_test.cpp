#include "parsers/unknown_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "parsers/temp_files.h"

namespace {

TEST(UnknownParserTest, LinesAndMessages) {
  struct Case {
    const char* line;
    int code;
    const char* reason;
    ASNumber from, to;
  } cases[] = {
      {"1 2", 0, "", 1, 2},
      {"0 0", 0, "", 0, 0},
      {"0x10 020 junk", 0, "", 16, 16},
      {"65535\t1", 0, "", 65535, 1},
      {"", 2, "There is no current line to be parsed", 0, 0},
      {"5", 4, "Invalid edge or AS number: `5'", 0, 0},
      {"  5 x", 4, "Invalid edge or AS number: `  5 x'", 0, 0},
      {"65536 1", 3, "Invalid AS number: `65536'", 0, 0},
      {"1 -2", 3, "Invalid AS number: `-2'", 0, 0},
      {"4294967296 1", 3, "Invalid AS number: `4294967296'", 0, 0},
  };
  for (const Case& c : cases) {
    TempFiles files;
    UnknownParser parser;
    ASSERT_TRUE(parser.openFile(files.write(std::string(c.line) + "\n").c_str()));
    ASSERT_EQ(parser.nextLine(), 0) << c.line;
    EXPECT_EQ(parser.parseLine(), c.code) << c.line;
    EXPECT_STREQ(parser.errReason(), c.reason) << c.line;
    if (c.code == 0) {
      EXPECT_EQ(parser.data.from, c.from) << c.line;
      EXPECT_EQ(parser.data.to, c.to) << c.line;
    }
  }
}

TEST(UnknownParserTest, LongLineIsQuotedWhole) {
  std::string line = "7" + std::string(3000, 'x');
  TempFiles files;
  UnknownParser parser;
  ASSERT_TRUE(parser.openFile(files.write(line + "\n1 2\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 4);
  EXPECT_EQ(std::string(parser.errReason()), "Invalid edge or AS number: `" + line + "'");
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(parser.readLines(), 2u);
}

}  // namespace
