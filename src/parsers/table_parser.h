// Reader of router tables as today's platforms print them (format letters t and T): IOS, IOS-XE,
// IOS-XR, NX-OS, Arista EOS and FRR/Quagga, from "show ip bgp", "show bgp ...", "show bgp vrf
// all all" and "... neighbors X routes / advertised-routes". Each route of the run's address
// family becomes one record of the classic dump reader's type, so that graph construction treats
// it like a `b` route; an IPv6 route carries its network in network6.
//
// A capture holds free text, legends and pager prompts around tables; a table is a header
// whose captions give the columns, then one line per route:
//      Network          Next Hop            Metric LocPrf Weight Path
//   *>i 10.20.0.0/16     200.200.200.194          0    100  50000 65005 65026 i
//   * i                  200.200.200.195          0    100  40000 64985 65024 i
// The reader trusts words more than columns, because captures differ: the status area is 3 to 5
// characters with the network glued to it or not, indented captures, networks of 19 columns,
// numbers left- or right-aligned, blank or "-" fields, captures that lost their blanks. It finds
// the network as the first word after the status codes, tells a network from the next hop of a
// route that repeats the previous network by the header's Next Hop column, and uses the header's
// captions only to tell the numbers from the AS path (see table_fields.h).
//
// Rules beyond the line:
// - The graph of a run holds the paths of its own family alone: an IPv4 run (the default) passes
//   over IPv6 routes and an IPv6 run IPv4 ones, both passes alike, so that the nodes and edges
//   match the covering; the NLRIs of other families (L2VPN, EVPN, link-state) give no path.
// - A network printed alone continues on the next line (at the Next Hop column), and a long next
//   hop may push the numbers and path to a third line.
// - A blank network repeats the previous route's network, across repeated headers too, but not
//   across other text, a route distinguisher or the end of a listing.
// - "Route Distinguisher: ..." starts routes private to a VPN: they are passed over until the next
//   header or the end of the listing ("Total number of prefixes N", "Displayed N routes and M
//   total paths", "Processed N prefixes, M paths").
// - A network without a length gets the classful one from graph construction, as in the classic
//   reader; but 0.0.0.0 alone is the default route, 0.0.0.0/0.
#ifndef ZELGRIN_PARSERS_TABLE_PARSER_H
#define ZELGRIN_PARSERS_TABLE_PARSER_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "parsers/parser.h"
#include "parsers/read_stats.h"
#include "parsers/route.h"
#include "parsers/table_fields.h"
#include "parsers/table_header.h"
#include "parsers/table_network.h"
#include "parsers/table_path.h"
#include "parsers/table_status.h"
#include "parsers/table_tokens.h"

class TableParser : public Parser {
 public:
  // Reasons under which stats() counts the route lines that give no record.
  // Besides these, routes of the other family count under otherFamilyReason(family()).
  static constexpr const char* vpnRoute = "VPN route";
  static constexpr const char* otherNetwork = "not an IPv4 or IPv6 network";
  static constexpr const char* malformedRoute = "malformed route";
  static constexpr const char* nulLine = "line holding a NUL byte";

  TableParser();
  ~TableParser() override;

  // Moves to the next route, reading the lines it needs: lineReady, noMoreLines at the end of
  // the input, or noFileOpen with "No file has been opened". Routes that give no record are passed
  // over and counted in stats(): in a VPN, of the other family or no IP network, and, in a
  // 16-bit run, with an AS number above 65535 in the path. A malformed route, of either family,
  // is delivered for parseLine to reject.
  NextLineResult nextLine() override;
  // The outcome of the route nextLine read: parseOk with `data` filled, data.family the run's
  // and data.network/networkMask or data.network6 its network; parseBadValue or
  // parseMissingField for a malformed route with errReason set; the others as every parser.
  ParseResult parseLine() override;

  // Route lines that gave no record since the input was opened, by reason: those passed over and
  // those delivered malformed (malformedRoute). Records given are not counted here, so a report
  // adds the records used and must not count parse failures of this reader again. Cleared by
  // the first nextLine after an open.
  const ReadStats& stats() const { return stats_; }
  const ReadStats* skipStats() const override { return &stats_; }
  const char* passedOverReason() const override { return kNotRouteLine; }

  Route data;

 private:
  enum class LineKind { blank, header, distinguisher, listingEnd, route, other };
  // What a route still needs from the lines after it.
  enum class Needs { nothing, nextHop, rest };

  // The route being put together, possibly over several lines.
  struct Draft {
    unsigned char status = 0;
    bool hasNetwork = false;
    TableNetwork network;
    IPAddress nextHop;
    bool fromSkipped = false;
    Needs needs = Needs::nothing;
  };

  void startInput();
  bool takeLine();
  void prepareLine();
  LineKind classify();
  std::size_t lastStatusColumn() const;
  // True when a route was delivered, false when it was passed over.
  bool readRoute();
  void readHead();
  bool readContinuation();
  void afterNextHop(std::size_t next, long lineShift);
  void finish(std::size_t first, long lineShift);
  bool conclude();
  void fillFields(std::size_t first, const TableFieldSplit& split);
  void storePath();
  void reject(ParseResult code, const char* text, const char* quoted = nullptr,
              std::size_t length = 0);

  TableHeader header_;
  TableStatus status_;
  bool vpn_ = false;
  // The base holds a line read ahead that is still to be looked at.
  bool pushedBack_ = false;
  // The network that a blank network column repeats.
  std::optional<TableNetwork> previous_;
  Draft draft_;
  std::vector<TableToken> tokens_;
  TablePathReader paths_;
  ReadStats stats_;
  // The delivered route: 0, or the code and reason parseLine gives.
  ParseResult routeCode_ = parseOk;
  std::string routeReason_;
  bool recordCounted_ = false;
};

#endif  // ZELGRIN_PARSERS_TABLE_PARSER_H
