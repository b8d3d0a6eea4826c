#include "parsers/sat_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "parsers/temp_files.h"

namespace {

std::vector<ASNumber> badASesOf(SatParser& parser) {
  std::vector<ASNumber> ases;
  List<ASNumber>& list = parser.data.badPathASes;
  bool more = !list.isEmpty();
  for (list.goToFirst(); more; more = list.next()) ases.push_back(list.current());
  return ases;
}

// Opens a file of the given lines on `parser` and delivers its first line.
void openOn(SatParser& parser, TempFiles& files, const std::string& content) {
  ASSERT_TRUE(parser.openFile(files.write(content).c_str()));
}

TEST(SatParserTest, EdgeLinesByTokenCount) {
  struct Case {
    const char* line;
    int code;
    const char* reason;
  } cases[] = {
      {"701 - 1239 a b c", 4, "Unable to retrieve reversed flag"},                   // 6 tokens
      {"701 - 1239 a b c 0", 0, ""},                                                 // 7 tokens
      {"701 - 1239 a b c 0 2.5", 4, "Unable to retrieve edge covering properties"},  // 8
      {"701 - 1239 a b c 1 2.5 x 3.5", 0, ""},                                       // 10 tokens
      {"701 - 1239 a b c 1 2.5 x 3.5 more tokens", 0, ""},
      {"701   ", 4, "Unable to retrieve `to' AS number"},
      {"701 -", 4, "Unable to retrieve `to' AS number"},
      {"0 - 1239 a b c 0", 3, "Invalid AS number: `0'"},
      {"701 - 65536 a b c 0", 3, "Invalid AS number: `65536'"},
      {"701x - 1239 a b c 0", 3, "Invalid AS number: `701x'"},
      {"701 - 0x10 a b c 0", 3, "Invalid AS number: `0x10'"},
      {"701 - 1239 a b c 2", 3, "Invalid reversed flag: `2'"},
      {"701 - 1239 a b c 0.", 3, "Invalid reversed flag: `0.'"},
      {"701 - 1239 a b c 0 -1 x 3", 3, "Invalid edge covering value: `-1'"},
      {"701 - 1239 a b c 0 1 x 3y", 3, "Invalid edge covering value: `3y'"},
      {"701 - 1239 a b c 0 0 x 0", 0, ""},
      {" \t  \t ", 4, "Line appears to be empty"},
  };
  for (const Case& c : cases) {
    TempFiles files;
    SatParser parser;
    openOn(parser, files, std::string(c.line) + "\n");
    ASSERT_EQ(parser.nextLine(), 0) << c.line;
    EXPECT_EQ(parser.parseLine(), c.code) << c.line;
    EXPECT_STREQ(parser.errReason(), c.reason) << c.line;
    EXPECT_STREQ(parser.currentLine(), c.line);
  }
}

TEST(SatParserTest, EdgeLineFields) {
  TempFiles files;
  SatParser parser;
  openOn(parser, files,
         "701 - 1239 a b c 1 2.5 x 3.5\n"
         "702\t-\t1240 a b c 0\n"
         "703 - 1241 a b c 0 7\n");
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(parser.data.from, 701);
  EXPECT_EQ(parser.data.to, 1239);
  EXPECT_FALSE(parser.data.notReversed);
  EXPECT_FALSE(parser.data.candidatePeering);
  EXPECT_FALSE(parser.data.badPath);
  ASSERT_TRUE(parser.data.firstCovering && parser.data.secondCovering);
  EXPECT_EQ(*parser.data.firstCovering, 2.5);
  EXPECT_EQ(*parser.data.secondCovering, 3.5);

  // Seven tokens: no coverings at all.
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(parser.data.from, 702);
  EXPECT_TRUE(parser.data.notReversed);
  EXPECT_FALSE(parser.data.firstCovering);
  EXPECT_FALSE(parser.data.secondCovering);

  // Eight tokens: the first covering is stored before the second is found missing.
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 4);
  ASSERT_TRUE(parser.data.firstCovering);
  EXPECT_EQ(*parser.data.firstCovering, 7.0);
  EXPECT_FALSE(parser.data.secondCovering);
}

TEST(SatParserTest, CandidatePeeringKeepsReversedFlag) {
  TempFiles files;
  SatParser parser;
  openOn(parser, files,
         "701 - 1239 a b c 0\n"
         "candidate peering 3356 - 7018\n"
         "candidate peering 3356 - 7018 1.5 x 4\n"
         "candidate peering 3356 -\n");
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  ASSERT_TRUE(parser.data.notReversed);

  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_TRUE(parser.data.candidatePeering);
  EXPECT_EQ(parser.data.from, 3356);
  EXPECT_EQ(parser.data.to, 7018);
  EXPECT_TRUE(parser.data.notReversed);
  EXPECT_FALSE(parser.data.firstCovering);

  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  ASSERT_TRUE(parser.data.firstCovering && parser.data.secondCovering);
  EXPECT_EQ(*parser.data.firstCovering, 1.5);
  EXPECT_EQ(*parser.data.secondCovering, 4.0);

  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 4);
  EXPECT_STREQ(parser.errReason(), "Unable to retrieve `to' AS number");
}

TEST(SatParserTest, BadPathLines) {
  TempFiles files;
  SatParser parser;
  openOn(parser, files,
         "701 - 1239 a b c 0 1 x 2\n"
         "bad path: 701 1239 3356\n"
         "bad path: 701 0 3356\n"
         "bad path:\n"
         "bad path: candidate peering\n"
         "x candidate peering bad path: 5\n");
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);

  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_TRUE(parser.data.badPath);
  EXPECT_EQ(badASesOf(parser), (std::vector<ASNumber>{701, 1239, 3356}));
  // Bad path lines leave the coverings alone.
  ASSERT_TRUE(parser.data.firstCovering && parser.data.secondCovering);
  EXPECT_EQ(*parser.data.secondCovering, 2.0);

  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 3);
  EXPECT_STREQ(parser.errReason(), "Invalid AS number in bad AS path: `0'");
  EXPECT_EQ(badASesOf(parser), (std::vector<ASNumber>{701}));

  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 0);
  EXPECT_TRUE(badASesOf(parser).empty());

  // Both phrases: the bad path wins, so "candidate" and "peering" are read as ASes.
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 3);
  EXPECT_TRUE(parser.data.candidatePeering);
  EXPECT_STREQ(parser.errReason(), "Invalid AS number in bad AS path: `candidate'");

  // Only the first two tokens are passed over, whatever they are.
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 3);
  EXPECT_STREQ(parser.errReason(), "Invalid AS number in bad AS path: `peering'");
}

TEST(SatParserTest, MinimumLength) {
  TempFiles files;
  SatParser parser;
  openOn(parser, files, "1 2 \n12345\n");
  ASSERT_EQ(parser.nextLine(), 0);  // the 4-character line is skipped silently
  EXPECT_STREQ(parser.currentLine(), "12345");
  EXPECT_EQ(parser.readLines(), 2u);
  EXPECT_EQ(parser.parseLine(), 4);
  EXPECT_STREQ(parser.errReason(), "Unable to retrieve `to' AS number");
}

TEST(SatParserTest, LongTokenIsQuotedWhole) {
  std::string token = "1" + std::string(3000, '9');
  TempFiles files;
  SatParser parser;
  openOn(parser, files, "bad path: 1 " + token + "\n");
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 3);
  EXPECT_EQ(std::string(parser.errReason()), "Invalid AS number in bad AS path: `" + token + "'");
}

}  // namespace
