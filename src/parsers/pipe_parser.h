// Reader of pipe-separated route text (format letter l): the one-line-per-route text that MRT
// decoders print. The form is told line by line:
//   TYPE|TIME|KIND|PEER_IP|PEER_AS|PREFIX|PATH|ORIGIN|...    a decoder's lines with the record
//                                    type first (TABLE_DUMP, TABLE_DUMP2, BGP4MP, ...); KIND B is
//                                    a RIB entry, A an announcement, W a withdrawal, STATE a
//                                    state change. TIME is UNIX seconds or MM/DD/YY HH:MM:SS (UTC)
//   TYPE_AP|TIME|KIND|PEER_IP|PEER_AS|PREFIX|PATH_ID|PATH|... the ADD-PATH rows
//   TIME|KIND|PEER_IP|...            the same without the type; an ADD-PATH row is told by its
//                                    origin (IGP, EGP, INCOMPLETE) one field further on
//   R|R|TIME|PROJECT|COLLECTOR|ROUTER|ROUTER_IP|PEER_AS|PEER_IP|PREFIX|NEXT_HOP|PATH|...
//                                    a stream reader's elements (R RIB, U update dump; element
//                                    R RIB entry, A announcement, W withdrawal, S state), and
//                                    the older layout without ROUTER and ROUTER_IP
// PATH is ASes separated by blanks; AS sets "{1,2}" and confederation segments "(1 2)", "[1,2]"
// are left out, as the MRT reader leaves out those segments.
//
// Only the routes of the run's family (Parser::family; an IPv6 prefix holds a ':') are read.
// First pass (n, e, c): every RIB entry and announcement is one path of a path list. Second pass
// (i, setRouteMode): the RIB entries, each a route of its prefix with its path, in the merge's
// order, put in order as the MRT reader does (see route_groups.h).
// Withdrawals, state lines, blank and '#' lines, lines stamped outside the time window, routes of
// the other family and, in the second pass, announcements are passed over and counted in
// skipStats. A
// line of another shape, or naming an AS the run does not accept, is delivered for parseLine to
// refuse (so that -v reports it) and counted.
#ifndef ZELGRIN_PARSERS_PIPE_PARSER_H
#define ZELGRIN_PARSERS_PIPE_PARSER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/mrt_route_sort.h"
#include "parsers/order_learner.h"
#include "parsers/parser.h"
#include "parsers/route.h"
#include "parsers/route_groups.h"

class PipeParser : public Parser {
 public:
  PipeParser();
  ~PipeParser() override;

  // The second pass's reading: RIB entries only, in the merge's order. Set before reading.
  void setRouteMode(bool on) { routeMode_ = on; }
  // The memory the second pass's sort holds before it spills (tests make it small).
  void setSortMemory(std::size_t bytes) override { sortMemory_ = bytes; }

  NextLineResult nextLine() override;
  // 0 with `path` (first pass) or `data` (second pass) ready; 3 for a line to refuse, with
  // errReason set; 2 and 5 as every parser.
  ParseResult parseLine() override;
  const ReadStats* skipStats() const override { return &stats_; }
  AddressOrder addressOrderSeen() const override { return orderLearner_.learnt(); }
  void setAddressOrderKnown(const AddressOrder& order) override { knownOrder_ = order; }

  std::vector<ASNumber> path;  // the first pass's record: the AS sequence of the line
  Route data;                  // the second pass's route

 private:
  enum class Line { route, skipped, refused, end };
  enum class Next { entry, refused, end };
  // What a route line holds.
  struct Record {
    bool rib = false;  // a RIB entry, not an announcement
    bool ipv6 = false;
    std::uint32_t address = 0;  // IPv4, as written
    std::uint8_t length = 0;
    IPv6Prefix prefix6;  // read in an IPv6 run only
  };

  static void prefixOf(const Record& record, MrtIPv4Prefix& prefix);
  static void prefixOf(const Record& record, IPv6Prefix& prefix);
  void startReading();
  bool addressesAscend(const std::string& openedAs);
  template <class Prefix>
  bool addressesAscendIn();
  // Reads the next line; for a route, fills record_ and path.
  Line readLine();
  Line classify(const std::vector<std::string_view>& fields);
  Line readRoute(bool rib, std::string_view time, std::string_view prefix, std::string_view asPath);
  Line readPath(std::string_view text);
  Line skip(const char* reason);
  Line refuse(const std::string& reason, const char* countedUnder);
  Next readEntry();
  // First pass: follows the order of the routes the merge would take, as its check does.
  void learnOrder();
  template <class Prefix>
  Next readSorted(RouteGroups<Prefix>& groups);

  bool routeMode_ = false;
  std::size_t sortMemory_ = MrtRouteSort::kDefaultMemory;
  bool started_ = false;
  ReadStats stats_;
  std::string refusal_;
  Record record_;
  std::vector<std::string_view> fields_;
  // Second pass: the groups of the run's family.
  std::unique_ptr<RouteGroups<MrtIPv4Prefix>> groups4_;
  std::unique_ptr<RouteGroups<IPv6Prefix>> groups6_;
  bool inputDone_ = false;
  OrderLearner orderLearner_;  // first pass
  AddressOrder knownOrder_;    // second pass: learnt by the first
};

#endif  // ZELGRIN_PARSERS_PIPE_PARSER_H
