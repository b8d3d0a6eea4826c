#include "parsers/bgp_parser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include "parsers/temp_files.h"

namespace {

// The classic layout: Network at column 4, Next Hop 21, Metric 41, LocPrf 48, Weight 55, Path 62.
const char kHeader[] = "   Network          Next Hop            Metric LocPrf Weight Path\n";

std::string pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// A route line laid out under kHeader as a router prints it: numbers right-aligned under their
// captions, and everything after the network pushed right by a network wider than 16 characters.
std::string route(const std::string& status, const std::string& network, const std::string& hop,
                  const std::string& metric, const std::string& locPrf, const std::string& weight,
                  const std::string& path) {
  const std::size_t shift = network.size() > 16 ? network.size() - 16 : 0;
  std::string line = pad(status, 3) + network;
  line = pad(line, 20 + shift) + hop;
  line = pad(line, 46 + shift - metric.size()) + metric;
  line = pad(line, 53 + shift - locPrf.size()) + locPrf;
  line = pad(line, 60 + shift - weight.size()) + weight;
  return pad(line, 61 + shift) + path + "\n";
}

std::string dotted(const IPAddress& address) {
  const unsigned char* o = address.getAddress();
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}

// The record in one line, as the real-data expectation files write it: network, next hop, the
// numbers that are present, the path with "s" for AS set members, origin and status bits. With
// `fromItems`, the path is taken from the parser's array, its list being left empty.
std::string describe(BgpParser& parser, bool fromItems = false) {
  const Route& d = parser.data;
  std::string text = dotted(d.network);
  if (d.networkMask) text += "/" + std::to_string(static_cast<int>(d.networkMask->brief()));
  text += " via " + dotted(d.nextHop);
  if (d.metric) text += " metric " + std::to_string(*d.metric);
  if (d.localPref) text += " locprf " + std::to_string(*d.localPref);
  if (d.routeWeight) text += " weight " + std::to_string(*d.routeWeight);
  text += " path";
  std::vector<ASItem> items;
  List<ASItem>& path = parser.data.path;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) items.push_back(path.current());
  if (fromItems) {
    EXPECT_TRUE(items.empty());
    std::size_t count = 0;
    const ASItem* array = parser.pathItems(count);
    items.assign(array, array + count);
  }
  for (const ASItem& item : items) {
    text += " " + std::to_string(item.AS);
    if (item.flags & ASItem::setFlag) text += "s";
  }
  text += " origin " + std::to_string(d.origin) + " status " + std::to_string(d.status);
  return text;
}

// Every delivered line of a file: "<lines read>\t<parse code>\t<record or reason>".
std::vector<std::string> parseAll(const std::string& path, bool fromItems = false) {
  std::vector<std::string> out;
  BgpParser parser;
  if (fromItems) {
    EXPECT_TRUE(parser.leavePathList());
  }
  if (!parser.openFile(path.c_str())) return {"cannot open " + path};
  while (parser.nextLine() == 0) {
    const int code = parser.parseLine();
    out.push_back(std::to_string(parser.readLines()) + "\t" + std::to_string(code) + "\t" +
                  (code == 0 ? describe(parser, fromItems) : std::string(parser.errReason())));
  }
  return out;
}

// The current line of every delivered line.
std::vector<std::string> delivered(const std::string& content) {
  TempFiles files;
  BgpParser parser;
  std::vector<std::string> lines;
  if (!parser.openFile(files.write(content).c_str())) return lines;
  while (parser.nextLine() == 0) lines.push_back(parser.currentLine());
  return lines;
}

// One parse of the first route of a dump, for the tables below.
struct Outcome {
  int code;
  std::string text;  // the record, or the reason
};

Outcome parseFirst(const std::string& content) {
  TempFiles files;
  BgpParser parser;
  if (!parser.openFile(files.write(content).c_str())) return {-1, "cannot open"};
  if (parser.nextLine() != 0) return {-2, "no route line"};
  const int code = parser.parseLine();
  return {code, code == 0 ? describe(parser) : parser.errReason()};
}

// The dump reader keeps the header columns; this peeks at them.
class ColumnProbe : public BgpParser {
 public:
  std::vector<std::size_t> columns() const {
    return std::vector<std::size_t>(columnPos_.begin(), columnPos_.end());
  }
  bool inTable() const { return tableState_; }
};

TEST(BgpParserTest, HeaderRecordsColumnsAndALaterHeaderReplacesThem) {
  TempFiles files;
  ColumnProbe parser;
  const std::string content =
      std::string("BGP table version is 5\n") + kHeader +
      route("*>", "10.0.0.0/8", "192.0.2.1", "0", "", "0", "701 i") +
      "     Network          Next Hop            Metric        Weight Path\n" +
      " *>  11.0.0.0/8       192.0.2.2                   100    32768 701 i\n";
  ASSERT_TRUE(parser.openFile(files.write(content).c_str()));
  EXPECT_FALSE(parser.inTable());
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.columns(), (std::vector<std::size_t>{4, 21, 41, 48, 55, 62}));
  EXPECT_TRUE(parser.inTable());
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(describe(parser),
            "10.0.0.0/8 via 192.0.2.1 metric 0 weight 0 path 701 origin 1 status 24");
  // The second header moves five captions and has no LocPrf: the old LocPrf column stays.
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.columns(), (std::vector<std::size_t>{6, 23, 43, 48, 57, 64}));
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(describe(parser),
            "11.0.0.0/8 via 192.0.2.2 locprf 100 weight 32768 path 701 origin 1 status 24");
  EXPECT_EQ(parser.readLines(), 5u);
  EXPECT_EQ(parser.parsedLines(), 2u);
}

TEST(BgpParserTest, ClassifiesLines) {
  const std::string r1 = route("*>", "10.0.0.0/8", "192.0.2.1", "0", "", "0", "701 i");
  const std::string r2 = route("*", "11.0.0.0/8", "192.0.2.1", "0", "", "0", "701 i");
  const std::string body1 = r1.substr(0, r1.size() - 1);
  const std::string body2 = r2.substr(0, r2.size() - 1);
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::string> lines;
  } cases[] = {
      {"text before the first header and legends are skipped",
       "BGP table version is 7, local router ID is 192.0.2.9\nStatus codes: s suppressed, * "
       "valid\n\n"
       "Origin codes: i - IGP\n" +
           std::string(kHeader) + r1,
       {body1}},
      {"a route before any header is skipped", r1 + kHeader + r2, {body2}},
      {"a summary line ends the table",
       std::string(kHeader) + r1 + "Total number of prefixes 1\n" + r2,
       {body1}},
      {"a new header starts a new table",
       std::string(kHeader) + r1 + "Displayed 1 routes\n" + kHeader + r2,
       {body1, body2}},
      {"a doubled status character ends the table",
       std::string(kHeader) + "** " + body1.substr(3) + "\n" + r2,
       {}},
      {"a non-status character ends the table",
       std::string(kHeader) + " r>" + body1.substr(3) + "\n" + r2,
       {}},
      {"a tab is not a blank status", std::string(kHeader) + "\t* 10.0.0.0/8\n" + r2, {}},
      {"a pager prompt inside a table is skipped",
       std::string(kHeader) + r1 + " --More-- \n" + r2,
       {body1, body2}},
      {"a pager prompt outside a table starts one again",
       std::string(kHeader) + r1 + "Total number of prefixes 1\n--More--\n" + r2,
       {body1, body2}},
      {"a pager prompt before any header opens a table", "--More--\n" + r2, {body2}},
      {"a pager prompt must be the first token",
       std::string(kHeader) + r1 + "end --More--\n" + r2,
       {body1}},
      {"short and blank lines leave the table as it is",
       std::string(kHeader) + r1 + "\n*>\n  \t  \n" + r2,
       {body1, body2}},
      {"line ends are cut at the first CR or LF",
       std::string(kHeader) + body1 + "\r\n" + body2 + "\rrest\n",
       {body1, body2}},
      {"the last line needs no line end", std::string(kHeader) + body1, {body1}},
      {"a first token holding Network is a header", "BGPNetworks x\n" + r1, {body1}},
  };
  for (const Case& c : cases) EXPECT_EQ(delivered(c.content), c.lines) << c.what;
}

TEST(BgpParserTest, ParsesRouteFields) {
  struct Case {
    std::string line;
    int code;
    std::string text;
  } cases[] = {
      // Status bits s 1, d 2, h 4, * 8, > 16, i 32, S 64.
      {route("*>i", "10.0.0.0/8", "192.0.2.1", "0", "100", "0", "701 1239 i"), 0,
       "10.0.0.0/8 via 192.0.2.1 metric 0 locprf 100 weight 0 path 701 1239 origin 1 status 56"},
      {route("sdh", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 i"), 0,
       "10.0.0.0/8 via 192.0.2.1 weight 0 path 701 origin 1 status 7"},
      {route("S", "10.0.0.0", "192.0.2.1", "", "", "", "701 e"), 0,
       "10.0.0.0 via 192.0.2.1 path 701 origin 2 status 64"},
      // The network column.
      {route("*", "10.0.0.0/0", "192.0.2.1", "", "", "", "?"), 0,
       "10.0.0.0 via 192.0.2.1 path origin 4 status 8"},
      {route("*", "0.0.0.0/32", "192.0.2.1", "", "", "", "i"), 0,
       "0.0.0.0/32 via 192.0.2.1 path origin 1 status 8"},
      {route("*", "0x0a.010.0.1/0x18", "192.0.2.1", "", "", "", "i"), 0,
       "10.8.0.1/24 via 192.0.2.1 path origin 1 status 8"},
      {route("*", "10.0.0.0/33", "192.0.2.1", "", "", "", "i"), 3, "Invalid netmask value: `33'"},
      {route("*", "10.0.0.0/-1", "192.0.2.1", "", "", "", "i"), 3, "Invalid netmask value: `-1'"},
      {route("*", "10.0.0/8", "192.0.2.1", "", "", "", "i"), 3,
       "Invalid network address/netmask: `10.0.0/8'"},
      {route("*", "10.0.0.0/", "192.0.2.1", "", "", "", "i"), 3,
       "Invalid network address/netmask: `10.0.0.0/'"},
      {route("*", "10.0.0", "192.0.2.1", "", "", "", "i"), 3, "Invalid network address: `10.0.0'"},
      {route("*", "2001:db8::", "192.0.2.1", "", "", "", "i"), 3,
       "Invalid network address: `2001:db8::'"},
      {route("*", "10.0.256.0/24", "192.0.2.1", "", "", "", "i"), 3,
       "Invalid network byte value: `256'"},
      {route("*", "10.-1.0.0", "192.0.2.1", "", "", "", "i"), 3,
       "Invalid network byte value: `-1'"},
      {route("*", "10.0.0.99999999999", "192.0.2.1", "", "", "", "i"), 3,
       "Invalid network byte value: `99999999999'"},
      {route("*", "300.0.0.0/40", "192.0.2.1", "", "", "", "i"), 3, "Invalid netmask value: `40'"},
      // An 18-character network pushes every later column right by 2.
      {route("*>", "192.168.100.128/25", "192.0.2.1", "10", "100", "32768", "701 i"), 0,
       "192.168.100.128/25 via 192.0.2.1 metric 10 locprf 100 weight 32768 path 701 origin 1 "
       "status 24"},
      // The next hop.
      {route("*", "10.0.0.0/8", "   192.0.2.1", "", "", "", "i"), 0,
       "10.0.0.0/8 via 192.0.2.1 path origin 1 status 8"},
      {route("*", "10.0.0.0/8", "192.0.2", "", "", "", "i"), 3, "Invalid next hop: `192.0.2'"},
      {route("*", "10.0.0.0/8", "::", "", "", "", "i"), 3, "Invalid next hop: `::'"},
      {route("*", "10.0.0.0/8", "192.0.2.256", "", "", "", "i"), 3,
       "Invalid next hop byte value: `256'"},
      {"*  10.0.0.0/8" + std::string(20, ' ') + "\n", 4, "Invalid next hop"},
      // Metric: right-aligned, a wider number reaches left of the caption.
      {route("*", "10.0.0.0/8", "192.0.2.1", "4294967295", "", "", "i"), 0,
       "10.0.0.0/8 via 192.0.2.1 metric 4294967295 path origin 1 status 8"},
      {route("*", "10.0.0.0/8", "1.2.3.4", "123456789012345678", "", "", "i"), 0,
       "10.0.0.0/8 via 1.2.3.4 metric 123456789012345678 path origin 1 status 8"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "12a", "", "", "i"), 3, "Invalid metric value: `12a'"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "-5", "", "", "i"), 3, "Invalid metric value: `-5'"},
      // Not under the caption's last letter: not read.
      {route("*", "10.0.0.0/8", "192.0.2.1", "5 ", "7 ", "9 ", "i"), 0,
       "10.0.0.0/8 via 192.0.2.1 path origin 1 status 8"},
      // LocPrf and Weight: 0 to 65535, the token from the caption's first column.
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "65535", "0", "i"), 0,
       "10.0.0.0/8 via 192.0.2.1 locprf 65535 weight 0 path origin 1 status 8"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "65536", "", "i"), 3,
       "Invalid local preference value: `65536'"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "1x", "", "i"), 3,
       "Invalid local preference value: `1x'"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "1234567", "", "i"), 3,
       "Invalid local preference value: `234567'"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "", "70000", "i"), 3,
       "Invalid weight value: `70000'"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "", "-1", "i"), 3, "Invalid weight value: `-1'"},
      // The path column.
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "", "", " "), 0,
       "10.0.0.0/8 via 192.0.2.1 path origin 0 status 8"},
      {route("*", "10.0.0.0/8", "192.0.2.1", "", "", "0", "").substr(0, 60) + "\n", 4,
       "No AS path"},
  };
  for (const Case& c : cases) {
    const Outcome got = parseFirst(kHeader + c.line);
    EXPECT_EQ(got.code, c.code) << c.line;
    EXPECT_EQ(got.text, c.text) << c.line;
  }
}

// Addresses as routers print them and the other forms the scan of "%i" has always read
// (octal after a leading 0, hexadecimal, signs, text after the last number) give the same
// values, and numbers just past a byte or a length are refused alike.
TEST(BgpParserTest, AddressFormsReadAsTheScanReadsThem) {
  struct Case {
    const char* network;
    const char* hop;
    int code;
    std::string text;
  } cases[] = {
      {"10.0.0.0/8", "192.0.2.1", 0, "10.0.0.0/8 via 192.0.2.1"},
      {"255.255.255.255/32", "255.255.255.255", 0, "255.255.255.255/32 via 255.255.255.255"},
      {"010.0.0.0/8", "010.0.0.1", 0, "8.0.0.0/8 via 8.0.0.1"},
      {"0255.0.0.0/010", "0377.0.0.1", 0, "173.0.0.0/8 via 255.0.0.1"},
      {"10.0.0.0/08", "0x0A.0.0.1", 0, "10.0.0.0 via 10.0.0.1"},
      {"10.0.0.0/24x", "192.0.2.1x", 0, "10.0.0.0/24 via 192.0.2.1"},
      {"10.0.0.0.5", "192.0.2.1/24", 0, "10.0.0.0 via 192.0.2.1"},
      {"+10.0.0.0/+8", "+192.0.2.1", 0, "10.0.0.0/8 via 192.0.2.1"},
      {"10.0.0.0/00", "192.000.002.001", 0, "10.0.0.0 via 192.0.2.1"},
      {"1000.0.0.0/8", "192.0.2.1", 3, "Invalid network byte value: `1000'"},
      {"10.0.0.0/320", "192.0.2.1", 3, "Invalid netmask value: `320'"},
      {"10.0.0.0/8", "192.0.2.1000", 3, "Invalid next hop byte value: `1000'"},
      {"10.0.0.0/8", "192.0.2.08", 0, "10.0.0.0/8 via 192.0.2.0"},
      {"10.0.0.0/8", "09.0.2.1", 3, "Invalid next hop: `09.0.2.1'"},
      {"10.0.0.0/8", "192.0.2.-1", 3, "Invalid next hop byte value: `-1'"},
  };
  for (const Case& c : cases) {
    const Outcome got = parseFirst(kHeader + route("*>", c.network, c.hop, "", "", "", "701 i"));
    EXPECT_EQ(got.code, c.code) << c.network << " " << c.hop;
    EXPECT_EQ(got.text, c.code == 0 ? c.text + " path 701 origin 1 status 24" : c.text)
        << c.network << " " << c.hop;
  }
}

TEST(BgpParserTest, MetricTakesAWideNumberWhole) {
  // Metric at column 51, so that a 20-digit number fits between the next hop and the caption.
  const std::string header =
      "   Network          Next Hop                      Metric LocPrf Weight Path\n";
  struct Case {
    const char* metric;
    int code;
    std::string text;
  } cases[] = {
      {"18446744073709551615", 0,
       "10.0.0.0/8 via 1.2.3.4 metric 18446744073709551615 path 1 origin 1 status 24"},
      {"18446744073709551616", 3, "Invalid metric value: `18446744073709551616'"},
      {"+7", 0, "10.0.0.0/8 via 1.2.3.4 metric 7 path 1 origin 1 status 24"},
      {"-0", 0, "10.0.0.0/8 via 1.2.3.4 metric 0 path 1 origin 1 status 24"},
      {"0x10", 3, "Invalid metric value: `0x10'"},
  };
  for (const Case& c : cases) {
    const std::string metric = c.metric;
    const std::string line = pad(pad("*> 10.0.0.0/8", 20) + "1.2.3.4", 56 - metric.size()) +
                             metric + std::string(15, ' ') + " 1 i\n";
    const Outcome got = parseFirst(header + line);
    EXPECT_EQ(got.code, c.code) << line;
    EXPECT_EQ(got.text, c.text) << line;
  }
}

TEST(BgpParserTest, ParsesAsPaths) {
  struct Case {
    const char* path;
    int code;
    std::string text;  // the path part of the record, or the reason
  } cases[] = {
      {"701 1239 {3356,7018} i", 0, "701 1239 3356s 7018s origin 1"},
      {"(64512 65001) 701 i", 0, "64512 65001 701 origin 1"},
      {"1 2 i", 0, "1 2 origin 1"},
      {"i", 0, "origin 1"},
      {"701 e", 0, "701 origin 2"},
      {"701 ?", 0, "701 origin 4"},
      {"701,1239,,  i", 0, "701 1239 origin 1"},
      {"{27016} e", 0, "27016s origin 2"},
      {"(65001) {7018} 701 701 i", 0, "65001 7018s 701 701 origin 1"},
      {"( 1 2 )", 3, "Invalid AS number or path flag: `('"},
      {"1 (2 3", 4, "Parentheses mismatch in AS path"},
      {"1 {2 3", 4, "Parentheses mismatch in AS path"},
      {"1 2) i", 4, "Parentheses mismatch in AS path"},
      {"1 2} i", 4, "Parentheses mismatch in AS path"},
      {"(1 (2) 3)", 4, "Parentheses mismatch in AS path"},
      {"{1 {2}}", 4, "Parentheses mismatch in AS path"},
      {"{1 (2)}", 3, "Nested AS attributes"},
      {"(1 {2})", 3, "Nested AS attributes"},
      {"65536 i", 3, "Invalid AS number or path flag: `65536'"},
      {"0 i", 3, "Invalid AS number or path flag: `0'"},
      {"701 i?", 3, "Invalid AS number or path flag: `i?'"},
      {"65107.65107 i", 3, "Invalid AS number or path flag: `65107.65107'"},
      {"(1x)", 3, "Invalid AS number or path flag: `1x'"},
      {"701\t1239 i", 3, "Invalid AS number or path flag: `701\t1239'"},
      {"+701 i", 0, "701 origin 1"},
      {"00701 {065535} i", 0, "701 65535s origin 1"},
      {"4294967296 i", 3, "Invalid AS number or path flag: `4294967296'"},
      {"12345678901 i", 3, "Invalid AS number or path flag: `12345678901'"},
  };
  for (const Case& c : cases) {
    const Outcome got =
        parseFirst(kHeader + route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "", c.path));
    EXPECT_EQ(got.code, c.code) << c.path;
    if (c.code == 0) {
      const std::string prefix = "10.0.0.0/8 via 192.0.2.1 path ";
      const std::string suffix = " status 24";
      ASSERT_EQ(got.text.compare(0, prefix.size(), prefix), 0) << got.text;
      EXPECT_EQ(got.text.substr(prefix.size(), got.text.size() - prefix.size() - suffix.size()),
                c.text)
          << c.path;
    } else {
      EXPECT_EQ(got.text, c.text) << c.path;
    }
  }
}

TEST(BgpParserTest, MissingColumnsAndStates) {
  struct Case {
    const char* what;
    std::string content;
    int code;
    std::string reason;
  } cases[] = {
      {"a table opened by a pager prompt has no columns", "--More--\n*> 10.0.0.0/8 192.0.2.1 i\n",
       4, "Could not determine position of network field"},
      {"no Next Hop caption", "   Network          Path\n*> 10.0.0.0/8       701 i\n", 4,
       "Could not determine position of next hop field"},
      {"no Path caption", "   Network          Next Hop\n*> 10.0.0.0/8       192.0.2.1  701 i\n", 4,
       "Could not determine position of the AS path field"},
      {"a blank network as the first route",
       std::string(kHeader) + route("*", "", "192.0.2.1", "", "", "", "701 i"), 4,
       "Could not retrieve any previous network value"},
  };
  for (const Case& c : cases) {
    const Outcome got = parseFirst(c.content);
    EXPECT_EQ(got.code, c.code) << c.what;
    EXPECT_EQ(got.text, c.reason) << c.what;
  }

  // Without Metric, LocPrf and Weight captions the fields are absent.
  EXPECT_EQ(
      parseFirst("   Network          Next Hop  Path\n*> 10.0.0.0/8       192.0.2.1 701 i\n").text,
      "10.0.0.0/8 via 192.0.2.1 path 701 origin 1 status 24");

  BgpParser parser;
  EXPECT_EQ(parser.nextLine(), 2);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
  EXPECT_EQ(parser.parseLine(), 5);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
  TempFiles files;
  ASSERT_TRUE(parser.openFile(files.write(kHeader).c_str()));
  EXPECT_EQ(parser.parseLine(), 2);
  EXPECT_STREQ(parser.errReason(), "There is no current line to be parsed");
  EXPECT_FALSE(parser.data.networkMask || parser.data.metric || parser.data.localPref ||
               parser.data.routeWeight);
}

TEST(BgpParserTest, BlankNetworkContinuesThePreviousRouteOfTheSameTable) {
  const std::string content =
      std::string(kHeader) + route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "", "701 i") +
      route("*", "", "192.0.2.2", "", "", "", "1239 i") +
      route("*", "11.0.0.0", "192.0.2.3", "", "", "", "3356 i") +
      route("*", "", "192.0.2.4", "", "", "", "7018 i") +
      // A summary line ends the table: the next table cannot borrow 11.0.0.0, even when its
      // header follows in the same call.
      "Total number of prefixes 2\n" + kHeader + route("*", "", "192.0.2.5", "", "", "", "1 i");
  TempFiles files;
  EXPECT_EQ(parseAll(files.write(content)),
            (std::vector<std::string>{
                "2\t0\t10.0.0.0/8 via 192.0.2.1 path 701 origin 1 status 24",
                "3\t0\t10.0.0.0/8 via 192.0.2.2 path 1239 origin 1 status 8",
                "4\t0\t11.0.0.0 via 192.0.2.3 path 3356 origin 1 status 8",
                "5\t0\t11.0.0.0 via 192.0.2.4 path 7018 origin 1 status 8",
                "8\t4\tCould not retrieve any previous network value",
            }));
}

TEST(BgpParserTest, WrappedRouteTakesNextLongLine) {
  const std::string rest = std::string(20, ' ') + "192.0.2.1" + std::string(16, ' ') + "5" +
                           std::string(13, ' ') + "0 701 65001 i";
  TempFiles files;
  BgpParser parser;
  ASSERT_TRUE(parser.openFile(files
                                  .write(std::string(kHeader) +
                                         "*> 192.168.100.128/25\n\r\n  --More--  \n" + rest +
                                         "\r\n" + route("*", "", "192.0.2.2", "", "", "", "1239 i"))
                                  .c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.readLines(), 2u);
  ASSERT_EQ(parser.parseLine(), 0) << parser.errReason();
  EXPECT_EQ(describe(parser),
            "192.168.100.128/25 via 192.0.2.1 metric 5 weight 0 path 701 65001 origin 1 status 24");
  EXPECT_EQ(parser.readLines(), 5u);
  EXPECT_EQ(parser.parsedLines(), 4u);  // three lines read for the rest, one route
  EXPECT_STREQ(parser.currentLine(), rest.c_str());
  // Parsing the current line again, as the dump merge does, keeps the network.
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(describe(parser),
            "192.168.100.128/25 via 192.0.2.1 metric 5 weight 0 path 701 65001 origin 1 status 0");
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 0);
  EXPECT_EQ(describe(parser), "192.168.100.128/25 via 192.0.2.2 path 1239 origin 1 status 8");
  EXPECT_EQ(parser.nextLine(), 1);
}

TEST(BgpParserTest, WrappedRouteFailures) {
  struct Case {
    const char* what;
    std::string tail;
    int code;
    std::string reason;
    unsigned long readLines;
  } cases[] = {
      {"the file ends", "", 1, "Unexpected end of file (next hop expected)", 2},
      {"only short lines and prompts follow", "\n--More--\nab\n", 1,
       "Unexpected end of file (next hop expected)", 5},
      {"the rest ends before the next hop", "     short\n", 4, "Invalid next hop", 3},
      {"the rest has no path", "xyz" + std::string(17, ' ') + "192.0.2.1\n", 4, "No AS path", 3},
  };
  for (const Case& c : cases) {
    TempFiles files;
    BgpParser parser;
    ASSERT_TRUE(
        parser.openFile(files.write(std::string(kHeader) + "*> 10.0.0.0/8\n" + c.tail).c_str()));
    ASSERT_EQ(parser.nextLine(), 0) << c.what;
    EXPECT_EQ(parser.parseLine(), c.code) << c.what;
    EXPECT_EQ(parser.errReason(), c.reason) << c.what;
    EXPECT_EQ(parser.readLines(), c.readLines) << c.what;
    if (c.code == 1) {
      // The report shows the route whose rest never came.
      EXPECT_STREQ(parser.currentLine(), "*> 10.0.0.0/8") << c.what;
      EXPECT_EQ(parser.nextLine(), 1) << c.what;
    }
  }
}

TEST(BgpParserTest, RouteHoldingANulIsRefused) {
  const std::string nul(1, '\0');
  const std::string rest =
      std::string(20, ' ') + "192.0.2.1" + std::string(30, ' ') + "0 701 " + nul + "65001 i\n";
  for (const std::string& tail :
       {route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 " + nul + "1239 i"),
        nul + route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 1239 i"),
        "*> 192.168.100.128/25\n" + rest}) {
    const Outcome outcome = parseFirst(kHeader + tail);
    EXPECT_EQ(outcome.code, 3);
    EXPECT_EQ(outcome.text, "Line contains a NUL byte");
  }
}

TEST(BgpParserTest, WrappedRestParsedAgain) {
  struct Case {
    std::string rest;
    int code;
    std::string reason;
  } cases[] = {
      // The status of the rest is checked only when it is parsed by itself.
      {"xyz" + std::string(17, ' ') + "192.0.2.1", 3, "Unrecognized route status character: `x'"},
      {"     short", 1, "Unexpected end of file (next hop expected)"},
  };
  for (const Case& c : cases) {
    TempFiles files;
    BgpParser parser;
    ASSERT_TRUE(parser.openFile(
        files.write(std::string(kHeader) + "*> 10.0.0.0/8\n" + c.rest + "\n").c_str()));
    ASSERT_EQ(parser.nextLine(), 0);
    EXPECT_NE(parser.parseLine(), 0);
    EXPECT_STREQ(parser.currentLine(), c.rest.c_str());
    EXPECT_EQ(parser.parseLine(), c.code) << c.rest;
    EXPECT_EQ(parser.errReason(), c.reason) << c.rest;
  }
}

TEST(BgpParserTest, EachRouteReplacesThePath) {
  std::string content = kHeader;
  for (const char* path :
       {"701 1239 i", "701 1239 i", "701 1239 {3356} i", "701 i", "i", "(701) 1239 i"}) {
    content += route("*", "10.0.0.0/8", "192.0.2.1", "", "", "", path);
  }
  std::vector<std::string> paths;
  TempFiles files;
  const std::string name = files.write(content);
  for (const std::string& line : parseAll(name)) paths.push_back(line.substr(line.find("path")));
  // The parser's array holds the same paths, when its list is filled and when it is left.
  EXPECT_EQ(parseAll(name, true), parseAll(name));
  EXPECT_EQ(paths, (std::vector<std::string>{
                       "path 701 1239 origin 1 status 8", "path 701 1239 origin 1 status 8",
                       "path 701 1239 3356s origin 1 status 8", "path 701 origin 1 status 8",
                       "path origin 1 status 8", "path 701 1239 origin 1 status 8"}));
}

TEST(BgpParserTest, LongLinesAreParsedWhole) {
  std::string path;
  std::string expected = "10.0.0.0/8 via 192.0.2.1 path";
  for (int as = 1; as <= 300; ++as) {
    path += std::to_string(as) + " ";
    expected += " " + std::to_string(as);
  }
  TempFiles files;
  const std::string content = std::string(kHeader) +
                              route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "", path + "i") +
                              route("*>", "11.0.0.0/8", "192.0.2.1", "", "", "", "1 i");
  EXPECT_EQ(parseAll(files.write(content)),
            (std::vector<std::string>{"2\t0\t" + expected + " origin 1 status 24",
                                      "3\t0\t11.0.0.0/8 via 192.0.2.1 path 1 origin 1 status 24"}));
}

TEST(BgpParserTest, ReadErrorEndsTheInputAndIsRecorded) {
  TempFiles files;
  BgpParser parser;
  ASSERT_TRUE(parser.openFile(files.dir().c_str()));
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.readError(), EISDIR);
}

// Real tables (see data/README.md): every delivered line is parsed or rejected as recorded,
// the paths read from the list and from the array alike.
TEST(BgpParserTest, RealTables) {
  for (const char* name : {"bgp_ios_xe_table", "bgp_ios_layout_mismatch", "bgp_ios_wide_metric",
                           "bgp_ios_xr_wide_columns", "bgp_ios_xr_asdot_ipv6",
                           "bgp_ios_xe_indented_vpn", "bgp_eos_two_vrfs"}) {
    const std::string base = std::string(ZELGRIN_TEST_DATA) + "/" + name;
    std::ifstream expectedFile(base + ".expected");
    ASSERT_TRUE(expectedFile) << name;
    std::vector<std::string> expected;
    for (std::string line; std::getline(expectedFile, line);) expected.push_back(line);
    EXPECT_EQ(parseAll(base + ".txt"), expected) << name;
    EXPECT_EQ(parseAll(base + ".txt", true), expected) << name << " (array)";
  }
}

}  // namespace
