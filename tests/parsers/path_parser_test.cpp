#include "parsers/path_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/temp_files.h"

namespace {

std::vector<ASNumber> pathOf(PathParser& parser) {
  std::vector<ASNumber> ases;
  List<ASNumber>& path = parser.data.path;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) ases.push_back(path.current());
  return ases;
}

TEST(PathParserTest, LinesAndMessages) {
  struct Case {
    const char* line;
    int code;
    const char* reason;
    std::vector<ASNumber> path;
  } cases[] = {
      {"7018 701 1239", 0, "", {7018, 701, 1239}},
      {"701 3356 3356 1239", 0, "", {701, 3356, 3356, 1239}},
      {"701 (64512 65001) 1239", 0, "", {701, 1239}},
      {"(65001) 701", 0, "", {701}},
      {"701 (64512 1239", 0, "", {701}},  // never closed: the rest is left out
      {"\t 65535\t+12  0012 ", 0, "", {65535, 12, 12}},
      {" \t ", 0, "", {}},
      {"", 2, "There is no current line to be parsed", {}},
      {"701 12a", 3, "Invalid AS number: `12a'", {701}},
      {"701 0", 3, "Invalid AS number: `0'", {701}},
      {"65536", 3, "Invalid AS number: `65536'", {}},
      {"-5", 3, "Invalid AS number: `-5'", {}},
      {"0x10", 3, "Invalid AS number: `0x10'", {}},  // decimal only
      {"{1,2}", 3, "Invalid AS number: `{1,2}'", {}},
      {"1 2)", 3, "Invalid AS number: `2)'", {1}},
      {"99999999999999999999999", 3, "Invalid AS number: `99999999999999999999999'", {}},
      // A number is read by strtol's rules: white space it skips, a sign, overflow.
      {"\v7 \f8", 0, "", {7, 8}},
      {"+0", 3, "Invalid AS number: `+0'", {}},
      {"-0", 3, "Invalid AS number: `-0'", {}},
      {"00000000000000000000000065535", 0, "", {65535}},
      {"18446744073709551617", 3, "Invalid AS number: `18446744073709551617'", {}},
      {"-9223372036854775809", 3, "Invalid AS number: `-9223372036854775809'", {}},
      {"7 \v", 3, "Invalid AS number: `\v'", {7}},
      {"7 + 8", 3, "Invalid AS number: `+'", {7}},
      {"1.5", 3, "Invalid AS number: `1.5'", {}},  // asdot only in a 32-bit run
      {"(1 2) 3 (4) 5", 0, "", {3, 5}},
  };
  for (const Case& c : cases) {
    TempFiles files;
    PathParser parser;
    ASSERT_TRUE(parser.openFile(files.write(std::string(c.line) + "\n").c_str()));
    ASSERT_EQ(parser.nextLine(), 0) << c.line;
    EXPECT_EQ(parser.parseLine(), c.code) << c.line;
    EXPECT_STREQ(parser.errReason(), c.reason) << c.line;
    if (c.code != 2) {
      EXPECT_EQ(pathOf(parser), c.path) << c.line;
    }
    EXPECT_STREQ(parser.currentLine(), c.line);
  }
}

TEST(PathParserTest, EachLineReplacesThePath) {
  TempFiles files;
  PathParser parser;
  ASSERT_TRUE(parser.openFile(files.write("1 2 3 4\n\n5\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  ASSERT_EQ(parser.nextLine(), 0);  // the blank line is delivered
  EXPECT_EQ(parser.parseLine(), 2);
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(pathOf(parser), (std::vector<ASNumber>{5}));
  EXPECT_EQ(parser.data.path.len(), 1u);
  EXPECT_EQ(parser.readLines(), 3u);
}

TEST(PathParserTest, LongPathIsNotCutInsideANumber) {
  std::string line;
  std::vector<ASNumber> expected;
  for (ASNumber as = 1; line.size() < 3000; ++as) {
    line += std::to_string(700 + as % 300) + " ";
    expected.push_back(static_cast<ASNumber>(700 + as % 300));
  }
  TempFiles files;
  PathParser parser;
  ASSERT_TRUE(parser.openFile(files.write(line + "\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(pathOf(parser), expected);
  EXPECT_EQ(parser.readLines(), 1u);
}

// In a 32-bit run the number before an asdot dot is read as strtol reads it, sign included.
TEST(PathParserTest, AsdotAfterAStrtolNumber) {
  const struct {
    const char* line;
    int code;
    std::vector<ASNumber> path;
  } cases[] = {
      {"1.10 +1.10 \v1.10", 0, {65546, 65546, 65546}},
      {"-0.5", 0, {5}},  // strtol reads -0 as 0, a high part like any other
      {"-1.5", 3, {}},
      {"0.0", 3, {}},
      {"4294967295 65535.65535", 0, {4294967295u, 4294967295u}},
  };
  for (const auto& c : cases) {
    TempFiles files;
    PathParser parser;
    parser.setWidth(ASWidth{true});
    ASSERT_TRUE(parser.openFile(files.write(std::string(c.line) + "\n").c_str()));
    ASSERT_EQ(parser.nextLine(), 0);
    EXPECT_EQ(parser.parseLine(), c.code) << c.line;
    EXPECT_EQ(pathOf(parser), c.path) << c.line;
  }
}

}  // namespace
