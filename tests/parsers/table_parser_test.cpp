#include "parsers/table_parser.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "parsers/route_text.h"
#include "parsers/temp_files.h"

namespace {

std::string dotted(const IPAddress& address) {
  const unsigned char* o = address.getAddress();
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}

// "<network> via <next hop>[ m <metric>][ l <locprf>][ w <weight>] path <items> o <origin> st
// <status>", items marked "s" set member and "c" inside a confederation segment; the next hop
// is 0.0.0.0 when not IPv4.
std::string describe(TableParser& parser) {
  const Route& d = parser.data;
  std::string text;
  if (d.family == AddressFamily::ipv6) {
    text = ipv6PrefixText(d.network6);
  } else {
    text = dotted(d.network);
    if (d.networkMask) text += "/" + std::to_string(static_cast<int>(d.networkMask->brief()));
  }
  text += " via " + dotted(d.nextHop);
  if (d.metric) text += " m " + std::to_string(*d.metric);
  if (d.localPref) text += " l " + std::to_string(*d.localPref);
  if (d.routeWeight) text += " w " + std::to_string(*d.routeWeight);
  text += " path";
  List<ASItem>& path = parser.data.path;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) {
    const ASItem item = path.current();
    text += " " + std::to_string(item.AS);
    if (item.flags & ASItem::setFlag) text += "s";
    if (item.flags & ASItem::confedFlag) text += "c";
  }
  return text + " o " + std::to_string(d.origin) + " st " + std::to_string(d.status);
}

struct Reading {
  // "<lines read> <record>" or "<lines read> error <code>: <reason>" per delivered route.
  std::vector<std::string> routes;
  // "<reason> <count>, ..." in the order first counted.
  std::string skipped;
  int used = 0;
};

constexpr AddressFamily v4 = AddressFamily::ipv4;
constexpr AddressFamily v6 = AddressFamily::ipv6;

Reading readAll(const std::string& path, AddressFamily family, bool wide = false) {
  Reading reading;
  TableParser parser;
  parser.setWidth(ASWidth{wide});
  parser.setFamily(family);
  if (!parser.openFile(path.c_str())) return reading;
  while (parser.nextLine() == 0) {
    const int code = parser.parseLine();
    std::string text = std::to_string(parser.readLines()) + " ";
    if (code == 0) {
      ++reading.used;
      text += describe(parser);
    } else {
      text += "error " + std::to_string(code) + ": " + parser.errReason();
    }
    reading.routes.push_back(text);
  }
  const ReadStats& stats = parser.stats();
  for (int i = 0; i < stats.reasonCount(); ++i) {
    if (i > 0) reading.skipped += ", ";
    reading.skipped += std::string(stats.reason(i)) + " " + std::to_string(stats.count(i));
  }
  return reading;
}

std::string fixture(const char* name) { return std::string(ZELGRIN_TEST_DATA) + "/" + name; }

// The classic layout: Network at column 3, Next Hop 20, Metric 40, LocPrf 47, Weight 54, Path
// 61 (counted from 0).
const char kHeader[] = "   Network          Next Hop            Metric LocPrf Weight Path\n";

std::string pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// A route laid out under kHeader as IOS prints it.
std::string route(const std::string& status, const std::string& network, const std::string& hop,
                  const std::string& metric, const std::string& locPrf, const std::string& weight,
                  const std::string& path) {
  const std::size_t shift = network.size() > 16 ? network.size() - 16 : 0;
  std::string line = pad(pad(status, 3) + network, 20 + shift) + hop;
  line = pad(line, 46 + shift - metric.size()) + metric;
  line = pad(line, 53 + shift - locPrf.size()) + locPrf;
  line = pad(line, 60 + shift - weight.size()) + weight;
  return pad(line, 61 + shift) + path + "\n";
}

TEST(TableParserTest, RealTablesGiveEveryRouteOrAReason) {
  struct Case {
    const char* file;
    bool wide;
    AddressFamily family;
    int used;
    const char* skipped;
  };
  const Case cases[] = {
      {"bgp_ios_layout_mismatch.txt", false, v4, 0, "AS number above 65535 (use --as32) 12"},
      {"bgp_ios_layout_mismatch.txt", true, v4, 12, ""},
      {"bgp_ios_xr_asdot_ipv6.txt", false, v4, 3,
       "AS number above 65535 (use --as32) 3, IPv6 network 7"},
      {"bgp_ios_xr_asdot_ipv6.txt", true, v4, 6, "IPv6 network 7"},
      {"bgp_ios_xr_asdot_ipv6.txt", false, v6, 4,
       "IPv4 network 6, AS number above 65535 (use --as32) 3"},
      {"bgp_ios_xr_asdot_ipv6.txt", true, v6, 7, "IPv4 network 6"},
      {"bgp_ios_xe_indented_vpn.txt", true, v4, 0, "VPN route 29"},
      {"bgp_ios_xe_table.txt", false, v4, 58, ""},
      {"bgp_ios_xr_wide_columns.txt", false, v4, 24, ""},
      {"bgp_ios_wide_metric.txt", false, v4, 4, ""},
      {"bgp_eos_two_vrfs.txt", false, v4, 8, "AS number above 65535 (use --as32) 1"},
      {"bgp_eos_two_vrfs.txt", true, v4, 9, ""},
      {"tables/ios_backup_classful.txt", false, v4, 12, ""},
      {"tables/iosxe_status_five.txt", false, v4, 8, ""},
      {"tables/iosxe_indented_edited.txt", false, v4, 6, ""},
      {"tables/iosxe_neighbor_families.txt", false, v4, 5,
       "VPN route 4, not an IPv4 or IPv6 network 2"},
      {"tables/iosxe_neighbor_families.txt", false, v6, 0,
       "IPv4 network 5, VPN route 4, not an IPv4 or IPv6 network 2"},
      {"tables/iosxr_next_hop_dash.txt", false, v4, 18, ""},
      {"tables/iosxr_advertised_vrfs.txt", true, v4, 0, "VPN route 8"},
      {"tables/nxos_sets_asdot.txt", false, v4, 7, "AS number above 65535 (use --as32) 4"},
      {"tables/nxos_sets_asdot.txt", true, v4, 11, ""},
      {"tables/nxos_collapsed.txt", false, v4, 8, ""},
      {"tables/nxos_families_vpn.txt", false, v4, 20, "IPv6 network 1, VPN route 3"},
      {"tables/nxos_families_vpn.txt", false, v6, 1, "IPv4 network 20, VPN route 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.wide ? " 32-bit" : " 16-bit") + " " +
                 familyName(c.family));
    const Reading reading = readAll(fixture(c.file), c.family, c.wide);
    EXPECT_EQ(reading.used, c.used);
    EXPECT_EQ(reading.routes.size(), static_cast<std::size_t>(c.used));
    EXPECT_EQ(reading.skipped, c.skipped);
  }
}

TEST(TableParserTest, RealRoutesAreReadWordByWordNotByColumn) {
  struct Case {
    const char* file;
    bool wide;
    const char* route;  // as readAll gives it, found by its line number
  };
  const Case cases[] = {
      // Routes in the old layout under a header in the new one: 199.16..., not 9.16...
      {"bgp_ios_layout_mismatch.txt", true,
       "9 199.16.104.96/27 via 10.66.166.3 m 0 l 100 w 0 path 11111 99999 65278 o 4 st 40"},
      {"bgp_ios_layout_mismatch.txt", true,
       "12 199.16.104.96/27 via 10.118.160.97 w 0 path 11111 99999 65278 o 4 st 24"},
      {"bgp_ios_layout_mismatch.txt", true,
       "14 199.16.104.128/27 via 10.66.166.3 m 0 l 100 w 0 path 11111 99999 o 4 st 40"},
      {"tables/ios_backup_classful.txt", false,
       "10 10.9.9.9/32 via 192.168.3.2 m 0 l 100 w 0 path 10 10 o 1 st 40"},
      {"tables/ios_backup_classful.txt", false,
       "14 192.168.1.0 via 0.0.0.0 m 0 w 32768 path o 1 st 24"},
      {"tables/iosxe_status_five.txt", false,
       "14 10.11.0.0/16 via 10.0.0.1 m 0 l 100 w 0 path o 1 st 56"},
      // A local preference of 4294967295 pushes the weight and path four columns right.
      {"bgp_ios_xr_wide_columns.txt", false,
       "16 111.111.111.111/32 via 112.112.112.112 m 4294967295 w 65535 path 1000 1000 1000 o 1 "
       "st 24"},
      {"bgp_ios_xr_wide_columns.txt", false,
       "23 111.111.111.111/32 via 6.6.6.6 w 1 path 5 1000 1000 1000 o 1 st 24"},
      {"bgp_ios_xr_wide_columns.txt", false,
       "36 9.9.9.9/32 via 4.4.4.4 l 5 w 5 path 1000 1000 1000 o 1 st 24"},
      {"bgp_ios_wide_metric.txt", false,
       "13 123.233.111.222/24 via 11.222.1.202 m 28416 l 350 w 0 path 65000 o 4 st 24"},
      // An IPv6 next hop pushes an IPv4 route's numbers nine columns right.
      {"tables/nxos_families_vpn.txt", false,
       "13 10.16.0.0/8 via 0.0.0.0 m 0 l 100 w 0 path o 4 st 40"},
      {"tables/nxos_collapsed.txt", false,
       "9 0.0.0.0/0 via 1.2.3.4 m 4294967295 w 0 path 12345 102 o 1 st 8"},
      {"tables/nxos_collapsed.txt", false,
       "10 0.0.0.0/0 via 2.3.4.5 m 4294967295 l 100 w 0 path o 1 st 40"},
      {"tables/nxos_sets_asdot.txt", true,
       "20 100.100.100.120/30 via 10.10.2.1 w 0 path 4200989005s 64201s 64202s 64203 "
       "4227074345 o 1 st 24"},
      {"bgp_eos_two_vrfs.txt", true, "9 10.103.1.0/24 via 0.0.0.0 m 1 l 0 path o 1 st 24"},
      {"bgp_eos_two_vrfs.txt", true,
       "25 10.9.41.96/29 via 172.26.159.6 m 0 l 5000 w 0 path 4077784994 o 4 st 24"},
      {"tables/iosxe_indented_edited.txt", false,
       "12 192.168.0.2/21 via 10.0.0.5 l 1000 w 0 path 20450 65500 3549 o 1 st 40"},
      {"tables/iosxe_indented_edited.txt", false,
       "15 10.1.2.0/24 via 10.4.1.1 m 2219 l 100 w 0 path 20450 65500 3549 27016s o 2 st 8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Reading reading = readAll(fixture(c.file), v4, c.wide);
    const std::string line = std::string(c.route).substr(0, std::string(c.route).find(' ') + 1);
    std::string found;
    for (const std::string& route : reading.routes) {
      if (route.compare(0, line.size(), line) == 0) found = route;
    }
    EXPECT_EQ(found, c.route);
  }
}

TEST(TableParserTest, CapturesAroundTheRoutes) {
  const std::string r1 = route("*>", "10.0.0.0/8", "192.0.2.1", "0", "100", "0", "701 1239 i");
  const std::string r2 = route("* ", "", "192.0.2.2", "", "", "0", "3356 1239 i");
  const std::string r3 = route("*>", "11.0.0.0/8", "192.0.2.1", "", "", "0", "701 i");
  const char* d1 = "10.0.0.0/8 via 192.0.2.1 m 0 l 100 w 0 path 701 1239 o 1 st 24";
  const char* d2 = "10.0.0.0/8 via 192.0.2.2 w 0 path 3356 1239 o 1 st 8";
  const char* noPrevious = "error 4: Could not retrieve any previous network value";
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::string> routes;
    const char* skipped;
  };
  const Case cases[] = {
      {"pager prompt erased by backspaces",
       std::string(kHeader) + " --More-- \b\b\b\b\b\b\b\b\b\b          \b\b\b\b\b\b\b\b\b\b" + r1 +
           "--More--\n" + r2,
       {std::string("2 ") + d1, std::string("4 ") + d2},
       ""},
      {"repeated header between a route and its repeated network",
       std::string(kHeader) + r1 + kHeader + r2,
       {std::string("2 ") + d1, std::string("4 ") + d2},
       ""},
      {"other text forgets the network",
       std::string(kHeader) + r1 + "BGP table version is 5\n" + r2,
       {std::string("2 ") + d1, std::string("4 ") + noPrevious},
       "malformed route 1"},
      {"legend after a header is no route",
       std::string(kHeader) + "Status codes: s suppressed, d damped, h history\n" +
           "              r RIB-failure, S Stale, m multipath\n" +
           "Origin codes: i - IGP, e - EGP, ? - incomplete\n" + r1,
       {std::string("5 ") + d1},
       ""},
      {"route distinguisher until the end of the listing",
       std::string(kHeader) + "Route Distinguisher: 65000:1 (default for vrf A)\n" + r1 + r2 +
           "\nTotal number of prefixes 1\n" + r3,
       {"7 11.0.0.0/8 via 192.0.2.1 w 0 path 701 o 1 st 24"},
       "VPN route 2"},
      {"route distinguisher until the next header",
       std::string(kHeader) + "Route Distinguisher: 65000:1\n" + r3 + kHeader + r1,
       {std::string("5 ") + d1},
       "VPN route 1"},
      {"FRR multipath code and summary",
       std::string(kHeader) +
           route("*=", "10.0.0.0/8", "192.0.2.1", "0", "100", "0", "701 1239 i") +
           "\nDisplayed  1 routes and 2 total paths\n" + r2,
       {"2 10.0.0.0/8 via 192.0.2.1 m 0 l 100 w 0 path 701 1239 o 1 st 8",
        std::string("5 ") + noPrevious},
       "malformed route 1"},
      {"CRLF line ends and trailing blanks",
       std::string("   Network          Next Hop            Metric LocPrf Weight Path  \r\n") +
           r1.substr(0, r1.size() - 1) + "   \r\n",
       {std::string("2 ") + d1},
       ""},
      {"RIB failure and a lone path type code",
       std::string(kHeader) + route(" r>i", "10.0.0.0/8", "192.0.2.1", "0", "100", "0", "i") +
           route("  l", "", "192.0.2.2", "", "", "32768", "?"),
       {"2 10.0.0.0/8 via 192.0.2.1 m 0 l 100 w 0 path o 1 st 48",
        "3 10.0.0.0/8 via 192.0.2.2 w 32768 path o 4 st 0"},
       ""},
  };
  TempFiles files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Reading reading = readAll(files.write(c.content), v4);
    EXPECT_EQ(reading.routes, c.routes);
    EXPECT_EQ(reading.skipped, c.skipped);
  }
}

TEST(TableParserTest, RouteWords) {
  struct Case {
    const char* name;
    std::string lines;  // after kHeader
    bool wide;
    AddressFamily family;
    std::vector<std::string> routes;
    const char* skipped;
  };
  const Case cases[] = {
      {"default route without a length is /0, a classful one keeps none",
       route("*>", "0.0.0.0", "192.0.2.1", "", "", "0", "701 i") +
           route("*>", "10.0.0.0", "192.0.2.1", "", "", "0", "701 i"),
       false,
       v4,
       {"2 0.0.0.0/0 via 192.0.2.1 w 0 path 701 o 1 st 24",
        "3 10.0.0.0 via 192.0.2.1 w 0 path 701 o 1 st 24"},
       ""},
      {"sets, confederation segments and an origin glued to the last AS",
       route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 {1239,3356} (65001 65002) 7018i"),
       false,
       v4,
       {"2 10.0.0.0/8 via 192.0.2.1 w 0 path 701 1239s 3356s 65001c 65002c 7018 o 1 st 24"},
       ""},
      {"asdot in a 16-bit run",
       route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "65000.1 701 i"),
       false,
       v4,
       {},
       "AS number above 65535 (use --as32) 1"},
      {"asdot in a 32-bit run",
       route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "65000.1 701 i"),
       true,
       v4,
       {"2 10.0.0.0/8 via 192.0.2.1 w 0 path 4259840001 701 o 1 st 24"},
       ""},
      {"the other family and other networks in an IPv4 run",
       route("*>", "2001:db8::/32", "2001:db8::1", "", "", "0", "701 i") +
           route("*", "", "2001:db8::2", "", "", "0", "702 i") +
           route("*>", "100:1051:VEID-2:Blk-1/136", "0.0.0.0", "", "", "32768", "?") +
           route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 x1 i"),
       false,
       v4,
       {"5 error 3: Invalid AS number or path flag: `x1'"},
       "IPv6 network 2, not an IPv4 or IPv6 network 1, malformed route 1"},
      {"the other family and other networks in an IPv6 run",
       route("*>", "2001:DB8:0:0:8:800:200C:417A/64", "2001:db8::1", "", "", "0", "701 i") +
           route("*", "", "::ffff:192.0.2.1", "", "", "0", "702 {7018} i") +
           route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 x1 i") +
           route("*>", "65000:2:65000:100/96", "0.0.0.0", "", "", "32768", "?") +
           route("*>", "::/0", "fe80::1%Ethernet1/1", "", "", "0", "703 i"),
       false,
       v6,
       {"2 2001:db8::/64 via 0.0.0.0 w 0 path 701 o 1 st 24",
        "3 2001:db8::/64 via 0.0.0.0 w 0 path 702 7018s o 1 st 8",
        "6 ::/0 via 0.0.0.0 w 0 path 703 o 1 st 24"},
       "IPv4 network 1, not an IPv4 or IPv6 network 1"},
      {"IPv6 text that is no prefix is malformed in either run, and repeats nothing",
       route("*>", "2001:db8:::/32", "2001:db8::1", "", "", "0", "701 i") +
           route("*", "", "2001:db8::2", "", "", "0", "702 i") +
           route("*>", "2001:db8::", "2001:db8::1", "", "", "0", "701 i") +
           route("*>", "1:2:3:4:5:6:7:8:9/64", "2001:db8::1", "", "", "0", "701 i") +
           route("*>", "2001:db8::/129", "2001:db8::1", "", "", "0", "701 i"),
       false,
       v4,
       {"2 error 3: Invalid network address: `2001:db8:::/32'",
        "3 error 4: Could not retrieve any previous network value",
        "4 error 3: Invalid network address: `2001:db8::'",
        "5 error 3: Invalid network address: `1:2:3:4:5:6:7:8:9/64'",
        "6 error 3: Invalid network address: `2001:db8::/129'"},
       "malformed route 5"},
      {"wrapped route",
       "*> 10.0.0.0/8\n" + pad("", 20) + "192.0.2.1" + pad("", 22) + "0 701 i\n",
       false,
       v4,
       {"3 10.0.0.0/8 via 192.0.2.1 w 0 path 701 o 1 st 24"},
       ""},
      {"wrapped route whose rest never comes",
       "*> 10.0.0.0/8\n" + route("*>", "11.0.0.0/8", "192.0.2.1", "", "", "0", "701 i") +
           "*> 12.0.0.0/8\n",
       false,
       v4,
       {"3 11.0.0.0/8 via 192.0.2.1 w 0 path 701 o 1 st 24"},
       "malformed route 2"},
      {"malformed routes are delivered with a reason",
       route("*>", "300.1.1.1/24", "192.0.2.1", "", "", "0", "701 i") +
           route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 x1 i") +
           route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 {1239 i") +
           route("*>", "10.0.0.0/8", "192.0.2", "", "", "0", "701 i") +
           route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "", "i"),
       false,
       v4,
       {"2 error 3: Invalid network address: `300.1.1.1/24'",
        "3 error 3: Invalid AS number or path flag: `x1'",
        "4 error 3: Parentheses mismatch in AS path", "5 error 3: Invalid next hop: `192.0.2'",
        "6 error 3: Could not tell the weight from the AS path"},
       "malformed route 5"},
  };
  TempFiles files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Reading reading = readAll(files.write(kHeader + c.lines), c.family, c.wide);
    EXPECT_EQ(reading.routes, c.routes);
    EXPECT_EQ(reading.skipped, c.skipped);
  }
}

// A line with each word at its column, or one blank after the word before when that is past it.
std::string laid(std::initializer_list<std::pair<std::size_t, const char*>> words) {
  std::string line;
  for (const auto& word : words) {
    const std::size_t after = line.empty() ? 0 : line.size() + 1;
    line = pad(line, after > word.first ? after : word.first) + word.second;
  }
  return line + "\n";
}

TEST(TableParserTest, IPv6SectionsAsEachPlatformPrintsThem) {
  const std::string nxosHeader =
      "   Network            Next Hop            Metric     LocPrf     Weight Path\n";
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::string> ipv6Routes;
    const char* ipv6Skipped;
    int ipv4Used;
    const char* ipv4Skipped;
  };
  const Case cases[] = {
      {"IOS show bgp ipv6 unicast: wrapped networks and next hops, a repeated network",
       std::string(kHeader) +
           route("*>", "2001:DB8:1::/48", "2001:DB8:12::2", "0", "", "0", "65002 i") +
           "*> 2001:DB8:10:1::/64\n" + route("", "", "::", "0", "", "32768", "i") +
           "* i2001:DB8:20::/48 2001:DB8:3::3\n" +
           route("", "", "", "0", "100", "0", "65003 65004 i") +
           route("*>i", "", "2001:DB8:3::4", "0", "100", "0", "65005 65004 i") +
           route("*>", "fd00:1::/32", "FE80::2%Gi0/0", "0", "", "0", "65002 ?"),
       {"2 2001:db8:1::/48 via 0.0.0.0 m 0 w 0 path 65002 o 1 st 24",
        "4 2001:db8:10:1::/64 via 0.0.0.0 m 0 w 32768 path o 1 st 24",
        "6 2001:db8:20::/48 via 0.0.0.0 m 0 l 100 w 0 path 65003 65004 o 1 st 40",
        "7 2001:db8:20::/48 via 0.0.0.0 m 0 l 100 w 0 path 65005 65004 o 1 st 56",
        "8 fd00:1::/32 via 0.0.0.0 m 0 w 0 path 65002 o 4 st 24"},
       "",
       0,
       "IPv6 network 5"},
      {"NX-OS: path type codes glued to networks that start with a letter",
       nxosHeader +
           laid({{0, "*>efd00:10::/64"},
                 {22, "fe80::1%Eth1/1"},
                 {47, "0"},
                 {69, "0"},
                 {71, "65010 i"}}) +
           laid({{0, "*>ea::/16"}, {22, "2001:db8::1"}, {69, "0"}, {71, "65010 65020 i"}}) +
           laid({{0, "*|e"}, {22, "2001:db8::2"}, {69, "0"}, {71, "65030 65020 i"}}) +
           laid({{0, "*>l10.0.0.0/8"}, {22, "0.0.0.0"}, {65, "32768"}, {71, "i"}}),
       {"2 fd00:10::/64 via 0.0.0.0 m 0 w 0 path 65010 o 1 st 24",
        "3 a::/16 via 0.0.0.0 w 0 path 65010 65020 o 1 st 24",
        "4 a::/16 via 0.0.0.0 w 0 path 65030 65020 o 1 st 8"},
       "IPv4 network 1",
       1,
       "IPv6 network 3"},
      {"FRR show bgp ipv6: long link-local next hops push the numbers to the next line",
       std::string(kHeader) + "*> 2001:db8:1::/48  fe80::a00:27ff:fe8e:1\n" +
           route("", "", "", "0", "", "0", "65002 65003 i") +
           "*=                  fe80::a00:27ff:fe8e:2\n" +
           route("", "", "", "0", "", "0", "65004 65003 i") +
           route("*>", "2001:db8:2::/48", "::", "0", "", "32768", "i") +
           "\nDisplayed  2 routes and 3 total paths\n" +
           route("*>", "", "::", "0", "", "32768", "i"),
       {"3 2001:db8:1::/48 via 0.0.0.0 m 0 w 0 path 65002 65003 o 1 st 24",
        "5 2001:db8:1::/48 via 0.0.0.0 m 0 w 0 path 65004 65003 o 1 st 8",
        "6 2001:db8:2::/48 via 0.0.0.0 m 0 w 32768 path o 1 st 24",
        "9 error 4: Could not retrieve any previous network value"},
       "malformed route 1",
       0,
       "IPv6 network 3, malformed route 1"},
  };
  TempFiles files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = files.write(c.content);
    const Reading ipv6 = readAll(path, v6, true);
    EXPECT_EQ(ipv6.routes, c.ipv6Routes);
    EXPECT_EQ(ipv6.skipped, c.ipv6Skipped);
    const Reading ipv4 = readAll(path, v4, true);
    EXPECT_EQ(ipv4.used, c.ipv4Used);
    EXPECT_EQ(ipv4.skipped, c.ipv4Skipped);
  }
}

TEST(TableParserTest, RealIPv6Routes) {
  struct Case {
    const char* file;
    std::vector<std::string> routes;
  };
  const Case cases[] = {
      {"bgp_ios_xr_asdot_ipv6.txt",
       {"48 10:10:10:7::/128 via 0.0.0.0 m 0 w 0 path 4266917459 o 4 st 24",
        "49 10:10:10:8::/128 via 0.0.0.0 m 0 w 32768 path o 4 st 24",
        "52 2000:2000:2000:7777::/64 via 0.0.0.0 m 0 w 0 path 4266917459 o 4 st 24",
        "54 2000:2000:2000:8888::/64 via 0.0.0.0 m 0 w 32768 path o 4 st 24",
        "56 2001:2001:2001:2001:2001::/124 via 0.0.0.0 m 0 w 32768 path o 4 st 24",
        "58 2001:2001:2001:2001:2001::/124 via 0.0.0.0 m 0 w 0 path 4266917459 o 4 st 8",
        "60 2001:2001:2001:2001:2001::7/128 via 0.0.0.0 m 0 w 32768 path o 4 st 24"}},
      {"tables/nxos_families_vpn.txt",
       {"45 2001:11::1/128 via 0.0.0.0 m 0 l 100 w 32768 path o 4 st 24"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(readAll(fixture(c.file), v6, true).routes, c.routes);
  }
}

TEST(TableParserTest, CountsStartOverWithEachInput) {
  TempFiles files;
  const std::string vpn = std::string(kHeader) + "Route Distinguisher: 1:1\n" +
                          route("*>", "10.0.0.0/8", "192.0.2.1", "", "", "0", "701 i");
  const std::string plain =
      std::string(kHeader) + route("* ", "", "192.0.2.1", "", "", "0", "701 i");
  TableParser parser;
  ASSERT_TRUE(parser.openFile(files.write(vpn).c_str()));
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.stats().skipped(), 1u);
  parser.closeFile();
  // Neither the VPN state, the header nor the counts carry over: the repeated network of the
  // second file has nothing to repeat.
  ASSERT_TRUE(parser.openFile(files.write(plain).c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 4);
  EXPECT_STREQ(parser.errReason(), "Could not retrieve any previous network value");
  EXPECT_EQ(parser.stats().reasonCount(), 1);
  EXPECT_STREQ(parser.stats().reason(0), TableParser::malformedRoute);
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.parseLine(), 2);
}

TEST(TableParserTest, NothingOpen) {
  TableParser parser;
  EXPECT_EQ(parser.nextLine(), 2);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
  EXPECT_EQ(parser.parseLine(), 5);
}

}  // namespace
