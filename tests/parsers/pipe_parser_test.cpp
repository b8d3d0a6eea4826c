#include "parsers/pipe_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/route_text.h"
#include "parsers/temp_files.h"

namespace {

// What each line gave: its path ("701 7018"), "refused: REASON", or "skipped: REASON" for the
// lines passed over (told by the stats). Route mode: "PREFIX path" in the merge's order.
std::vector<std::string> readAll(const std::string& text, bool routeMode = false, bool wide = true,
                                 TimeWindow window = TimeWindow(),
                                 AddressFamily family = AddressFamily::ipv4,
                                 std::size_t sortMemory = MrtRouteSort::kDefaultMemory) {
  TempFiles files;
  PipeParser parser;
  parser.setRouteMode(routeMode);
  parser.setFamily(family);
  parser.setSortMemory(sortMemory);
  parser.setWidth(ASWidth{wide});
  parser.setTimeWindow(window);
  EXPECT_TRUE(parser.openFile(files.write(text).c_str()));
  std::vector<std::string> out;
  const ReadStats& stats = *parser.skipStats();
  while (parser.nextLine() == Parser::lineReady) {
    if (parser.parseLine() != Parser::parseOk) {
      out.push_back(std::string("refused: ") + parser.errReason());
      continue;
    }
    std::string line;
    if (routeMode) {
      line = routeText(parser.data);
    } else {
      for (ASNumber as : parser.path) line += (line.empty() ? "" : " ") + std::to_string(as);
    }
    out.push_back(line);
  }
  // The lines passed over silently, by reason (the reasons of refusals left out).
  for (int i = 0; i < stats.reasonCount(); ++i) {
    const std::string reason = stats.reason(i);
    if (reason.rfind("not a", 0) != 0 && reason.rfind("invalid", 0) != 0 &&
        reason.rfind("Invalid", 0) != 0 && reason.rfind("AS number above", 0) != 0) {
      out.push_back("skipped: " + reason + " x" + std::to_string(stats.count(i)));
    }
  }
  return out;
}

TEST(PipeParserTest, EveryVariantOfLine) {
  struct Case {
    const char* name;
    std::string line;
    std::vector<std::string> out;
  } cases[] = {
      {"RIB row",
       "TABLE_DUMP2|1277971199|B|202.249.2.169|2497|1.9.0.0/16|2497 2914 4788|IGP|"
       "202.249.2.169|0|0||NAG||",
       {"2497 2914 4788"}},
      {"announcement, human time",
       "BGP4MP|02/11/17 08:36:03|A|192.168.0.10|65000|172.17.0.0/24|"
       "4200000000 64512|IGP",
       {"4200000000 64512"}},
      {"ADD-PATH row",
       "TABLE_DUMP2_AP|1486801687|B|192.168.0.10|65000|172.17.0.0/24|2|"
       "65000 64512|IGP|192.168.0.10|100|10||NAG||",
       {"65000 64512"}},
      {"without the type",
       "1277971199|B|202.249.2.20|4777|1.9.0.0/16|4777 2516 4788|IGP|x",
       {"4777 2516 4788"}},
      {"without the type, ADD-PATH",
       "1486801687|B|192.168.0.10|65000|172.17.0.0/24|2|"
       "65000 64512|IGP|x",
       {"65000 64512"}},
      {"stream element",
       "R|R|1445306400|routeviews|route-views.sg|||2914|1.2.3.4|1.0.0.0/24|"
       "1.2.3.4|2914 13335|13335|2914:420||",
       {"2914 13335"}},
      {"older stream element",
       "U|A|1445306400.5|ris|rrc00|2914|1.2.3.4|1.0.0.0/24|1.2.3.4|"
       "2914 13335|13335|||",
       {"2914 13335"}},
      {"IPv6 left out of the IPv4 run",
       "BGP4MP|1|A|fd02::10|65000|fd01:1::/64|65000 65001|IGP",
       {"skipped: IPv6 network x1"}},
      {"sets and confederations left out",
       "BGP4MP|1|A|1.1.1.1|1|1.0.0.0/8|1 (65001 65002) 2 "
       "[65003,65004] 3 {4,5} { 6 7 }|IGP",
       {"1 2 3"}},
      {"empty path", "TABLE_DUMP2|1|B|0.0.0.0|0|0.0.0.0/0||INCOMPLETE|x", {""}},
      {"withdrawal", "BGP4MP|1|W|1.1.1.1|1|1.0.0.0/8", {"skipped: withdrawal x1"}},
      {"state", "BGP4MP|1|STATE|1.1.1.1|1|1|2", {"skipped: state change x1"}},
      {"element withdrawal and state",
       "U|W|1|p|c|||1|1.1.1.1|1.0.0.0/8||||\nU|S|1|p|c|||1|"
       "1.1.1.1|||||IDLE|ACTIVE",
       {"skipped: withdrawal x1", "skipped: state change x1"}},
      {"blank and comment", "\n  \n# note", {"skipped: blank or comment x3"}},
      {"AS 0", "BGP4MP|1|A|1.1.1.1|1|1.0.0.0/8|1 0 2|IGP", {"refused: Invalid AS number: `0'"}},
      {"bad AS", "BGP4MP|1|A|1.1.1.1|1|1.0.0.0/8|1 x2|IGP", {"refused: Invalid AS number: `x2'"}},
      {"bad prefix",
       "BGP4MP|1|A|1.1.1.1|1|1.0.0.256/8|1|IGP",
       {"refused: Invalid prefix: `1.0.0.256/8'"}},
      {"too long a prefix",
       "BGP4MP|1|A|1.1.1.1|1|1.0.0.0/33|1|IGP",
       {"refused: Invalid prefix: `1.0.0.0/33'"}},
      {"other text", "7018 701 1239", {"refused: Not a route line"}},
      {"too few fields", "TABLE_DUMP2|1|B|1.1.1.1|1", {"refused: Not a route line"}},
  };
  for (const Case& c : cases) EXPECT_EQ(readAll(c.line + "\n"), c.out) << c.name;
  EXPECT_EQ(readAll("BGP4MP|1|A|1.1.1.1|1|1.0.0.0/8|1 70000|IGP\n", false, false),
            std::vector<std::string>{"refused: AS number above 65535 (use --as32): `70000'"});
}

// The second pass: IPv4 RIB rows in the merge's order (shorter prefixes of one address after
// the longer, a descending file sorted whole); announcements and IPv6 rows passed over.
TEST(PipeParserTest, RoutesComeInTheMergesOrder) {
  const std::string rows =
      "TABLE_DUMP2|1|B|1.1.1.1|1|10.0.0.0/8|1 8|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|10.0.0.0/16|1 16|IGP\n"
      "BGP4MP|1|A|1.1.1.1|1|10.0.0.0/24|1 24|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|fd01::/64|1 64|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|11.0.0.0/8|1 11|IGP\n";
  const std::vector<std::string> ordered = {"10.0.0.0/16 1 16", "10.0.0.0/8 1 8", "11.0.0.0/8 1 11",
                                            "skipped: announcement, not a RIB entry x1",
                                            "skipped: IPv6 network x1"};
  EXPECT_EQ(readAll(rows, true), ordered);
  const std::string descending =
      "TABLE_DUMP2|1|B|1.1.1.1|1|11.0.0.0/8|1 11|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|10.0.0.0/8|1 8|IGP\n";
  EXPECT_EQ(readAll(descending, true),
            (std::vector<std::string>{"10.0.0.0/8 1 8", "11.0.0.0/8 1 11"}));
}

// The first pass learns the order the merge's check would find: of the RIB entries only.
TEST(PipeParserTest, FirstPassLearnsTheOrderOfRibEntries) {
  const struct {
    const char* rows;
    AddressOrder::Kind learnt;
  } cases[] = {
      {"TABLE_DUMP2|1|B|1.1.1.1|1|10.0.0.0/8|1 8|IGP\n"
       "BGP4MP|1|A|1.1.1.1|1|9.0.0.0/8|1 9|IGP\n"
       "TABLE_DUMP2|1|B|1.1.1.1|1|11.0.0.0/8|1 11|IGP\n",
       AddressOrder::ascending},
      {"TABLE_DUMP2|1|B|1.1.1.1|1|11.0.0.0/8|1 11|IGP\n"
       "TABLE_DUMP2|1|B|1.1.1.1|1|10.0.0.0/8|1 8|IGP\n",
       AddressOrder::notAscending},
  };
  for (const auto& c : cases) {
    TempFiles files;
    PipeParser parser;
    EXPECT_TRUE(parser.openFile(files.write(c.rows).c_str()));
    while (parser.nextLine() == Parser::lineReady) parser.parseLine();
    EXPECT_EQ(parser.addressOrderSeen().kind, c.learnt) << c.rows;
  }
}

// An IPv6 run reads the IPv6 rows only, in both passes; the second pass orders nested and equal
// prefixes as the IPv4 one does, in memory or spilled, and refuses a prefix that does not read.
TEST(PipeParserTest, IPv6RunReadsIPv6RowsOnly) {
  const std::string rows =
      "TABLE_DUMP2|1|B|1.1.1.1|1|2001:db8::/32|1 32|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|2001:db8::/48|1 48|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|10.0.0.0/8|1 8|IGP\n"
      "BGP4MP|1|A|1.1.1.1|1|2001:db8::/64|1 64|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|2|2001:db8::/32|2 32|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|2001:db8:0:1::/64|1 65|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|2001:db8::/128|1 128|IGP\n"
      "TABLE_DUMP2|1|B|1.1.1.1|1|2001:zz8::/32|1 9|IGP\n";
  const std::vector<std::string> paths = {"1 32",
                                          "1 48",
                                          "1 64",
                                          "2 32",
                                          "1 65",
                                          "1 128",
                                          "refused: Invalid prefix: `2001:zz8::/32'",
                                          "skipped: IPv4 network x1"};
  const std::vector<std::string> routes = {"refused: Invalid prefix: `2001:zz8::/32'",
                                           "2001:db8::/128 1 128",
                                           "2001:db8::/48 1 48",
                                           "2001:db8::/32 1 32",
                                           "2001:db8::/32 2 32",
                                           "2001:db8:0:1::/64 1 65",
                                           "skipped: IPv4 network x1",
                                           "skipped: announcement, not a RIB entry x1"};
  const AddressFamily v6 = AddressFamily::ipv6;
  EXPECT_EQ(readAll(rows, false, true, TimeWindow(), v6), paths);
  for (std::size_t memory : {MrtRouteSort::kDefaultMemory, std::size_t{1}}) {
    EXPECT_EQ(readAll(rows, true, true, TimeWindow(), v6, memory), routes) << memory;
  }
}

// --time-window: START inclusive, END exclusive, on each form of the time field.
TEST(PipeParserTest, TimeWindowEdges) {
  const std::string lines =
      "BGP4MP|99|A|1.1.1.1|1|1.0.0.0/8|1 99|IGP\n"
      "BGP4MP|100|A|1.1.1.1|1|1.0.0.0/8|1 100|IGP\n"
      "U|A|199.9|p|c|||1|1.1.1.1|1.0.0.0/8|1.1.1.1|1 199||||\n"
      "BGP4MP|01/01/70 00:03:20|A|1.1.1.1|1|1.0.0.0/8|1 200|IGP\n";
  struct Case {
    std::int64_t start, end;
    std::vector<std::string> out;
  } cases[] = {
      {100, 200, {"1 100", "1 199", "skipped: outside the time window x2"}},
      {99, 201, {"1 99", "1 100", "1 199", "1 200"}},
      {200, 300, {"1 200", "skipped: outside the time window x3"}},
  };
  for (const Case& c : cases) {
    TimeWindow window;
    window.limited = true;
    window.start = c.start;
    window.end = c.end;
    EXPECT_EQ(readAll(lines, false, true, window), c.out) << c.start << "," << c.end;
  }
  TimeWindow any{true, 0, 10};
  EXPECT_EQ(readAll("BGP4MP|soon|A|1.1.1.1|1|1.0.0.0/8|1|IGP\n", false, true, any),
            std::vector<std::string>{"refused: Invalid time: `soon'"});
}

// The text of the option: both forms of a time, END after START.
TEST(TimeWindowTest, ReadsTheOption) {
  struct Case {
    const char* text;
    bool ok;
    std::int64_t start, end;
  } cases[] = {
      {"100,200", true, 100, 200},
      {"2010-07-01T07:59:00,2010-07-01T08:00:00", true, 1277971140, 1277971200},
      {"2000-02-29T00:00:00,951782400", false, 0, 0},  // equal: END must be after START
      {"200,100", false, 0, 0},
      {"2001-02-29T00:00:00,2002-01-01T00:00:00", false, 0, 0},
      {"100", false, 0, 0},
      {"1e3,2000", false, 0, 0},
  };
  for (const Case& c : cases) {
    TimeWindow window;
    EXPECT_EQ(readTimeWindow(c.text, window), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(window.start, c.start) << c.text;
    EXPECT_EQ(window.end, c.end) << c.text;
  }
}

}  // namespace
