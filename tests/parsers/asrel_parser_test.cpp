#include "parsers/asrel_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/temp_files.h"

namespace {

struct Reading {
  // "<customer> <provider>" or "<a> <b> peers", or "error <code>: <reason>", per delivered line.
  std::vector<std::string> lines;
  std::string skipped;  // "<reason> <count>, ..."
};

Reading readAll(const std::string& path, bool wide = false) {
  Reading reading;
  AsrelParser parser;
  parser.setWidth(ASWidth{wide});
  if (!parser.openFile(path.c_str())) return reading;
  while (parser.nextLine() == 0) {
    const int code = parser.parseLine();
    if (code != 0) {
      reading.lines.push_back("error " + std::to_string(code) + ": " + parser.errReason());
      continue;
    }
    reading.lines.push_back(std::to_string(parser.data.from) + " " +
                            std::to_string(parser.data.to) + (parser.data.peering ? " peers" : ""));
  }
  const ReadStats& stats = parser.stats();
  for (int i = 0; i < stats.reasonCount(); ++i) {
    if (i > 0) reading.skipped += ", ";
    reading.skipped += std::string(stats.reason(i)) + " " + std::to_string(stats.count(i));
  }
  return reading;
}

TEST(AsrelParserTest, PublishedShapes) {
  struct Case {
    const char* name;
    const char* content;
    bool wide;
    std::vector<std::string> lines;
    const char* skipped;
  };
  const Case cases[] = {
      {"CAIDA serial-1 with its comment block",
       "# source:topology|BGP|19980101|routeviews|routeviews\n# input clique: 701 1239\n"
       "701|1239|0\n701|7018|-1\n",
       false,
       {"1239 701 peers", "7018 701"},
       ""},
      {"CAIDA serial-2 with a source field",
       "# serial-2\n3356|64496|-1|bgp\n174|3356|0|mlp\n",
       false,
       {"64496 3356", "3356 174 peers"},
       ""},
      {"older CAIDA siblings are peers", "100|200|1\n", false, {"200 100 peers"}, ""},
      {"SNAP: the relation seen from the first AS, CRLF, a legend that is not a comment",
       "# Directed graph: as-caida20071105.txt\r\n# Relationships:\t\r\n"
       "           -1 (<FromNodeId> is a customer of <ToNodeId>)\r\n"
       "# FromNodeId\tToNodeId\tRelationship\r\n"
       "8563\t3216\t-1\r\n3216\t8563\t1\r\n8563\t21482\t0\r\n100\t200\t2\r\n",
       false,
       {"8563 3216", "8563 3216", "21482 8563 peers"},
       "sibling 1"},
      {"blank lines and blanks around CAIDA fields",
       "\n 701 | 1239 | -1 \n\n",
       false,
       {"1239 701"},
       ""},
      {"AS numbers above 65535 in a 16-bit run",
       "701|196661|-1\n701|1.10|0\n",
       false,
       {"error 3: AS number above 65535 (use --as32): `196661'",
        "error 3: AS number above 65535 (use --as32): `1.10'"},
       "AS number above 65535 (use --as32) 2"},
      {"AS numbers above 65535 in a 32-bit run",
       "701|196661|-1\n701|1.10|0\n",
       true,
       {"196661 701", "65546 701 peers"},
       ""},
      {"the dialect is the first data line's",
       "701|1239|-1\n701 1239 -1\n",
       false,
       {"1239 701", "error 4: Unable to find both AS numbers and the relationship"},
       "malformed line 1"},
      {"what is rejected",
       "701|1239\n701|0|-1\n701|12x|-1\n701|1239|2\n701|1239|\n",
       false,
       {"error 4: Unable to find both AS numbers and the relationship",
        "error 3: Invalid AS number: `0'", "error 3: Invalid AS number: `12x'",
        "error 3: Invalid relationship: `2'",
        "error 4: Unable to find both AS numbers and the relationship"},
       "malformed line 5"},
      {"a record not starting with a number is refused, a legend or comment is not",
       "AS3|4|-1\n+5|6|0\n# 1|2|0\n-1 (<FromNodeId> is a customer of <ToNodeId>)\n"
       "AS7 8 -1\n1 2 -1\n",
       false,
       {"error 3: Invalid AS number: `AS3'", "error 3: Invalid AS number: `+5'",
        "error 3: Invalid AS number: `AS7'", "1 2"},
       "malformed line 3"},
      {"what SNAP rejects",
       "1 2\n1 2 3\n1 2 -1 trailing words\n",
       false,
       {"error 4: Unable to find both AS numbers and the relationship",
        "error 3: Invalid relationship: `3'", "1 2"},
       "malformed line 2"},
  };
  TempFiles files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Reading reading = readAll(files.write(c.content), c.wide);
    EXPECT_EQ(reading.lines, c.lines);
    EXPECT_EQ(reading.skipped, c.skipped);
  }
}

TEST(AsrelParserTest, PublishedTopoScopeLines) {
  const std::string path =
      std::string(ZELGRIN_TEST_DATA) + "/relationships/toposcope_asrel_201701_head.txt";
  {
    const Reading reading = readAll(path, true);
    ASSERT_EQ(reading.lines.size(), 12u);
    EXPECT_EQ(reading.lines[0], "63206 33491");
    EXPECT_EQ(reading.lines[11], "262755 262612 peers");
    EXPECT_EQ(reading.skipped, "");
  }
  EXPECT_EQ(readAll(path).skipped, "AS number above 65535 (use --as32) 5");
}

TEST(AsrelParserTest, DialectAndCountsStartOverWithEachInput) {
  TempFiles files;
  AsrelParser parser;
  ASSERT_TRUE(parser.openFile(files.write("1|2|-1\n3 4 2\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.nextLine(), 0);  // "3 4 2" is no CAIDA line
  EXPECT_EQ(parser.parseLine(), 4);
  EXPECT_EQ(parser.stats().skipped(), 1u);
  parser.closeFile();
  ASSERT_TRUE(parser.openFile(files.write("3 4 2\n5 6 -1\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(parser.data.from, 5u);
  ASSERT_EQ(parser.stats().reasonCount(), 1);
  EXPECT_STREQ(parser.stats().reason(0), AsrelParser::siblingLink);
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.parseLine(), 2);
}

TEST(AsrelParserTest, NothingOpen) {
  AsrelParser parser;
  EXPECT_EQ(parser.nextLine(), 2);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
  EXPECT_EQ(parser.parseLine(), 5);
}

}  // namespace
