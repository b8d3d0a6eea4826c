// Reader of router BGP table dumps (format letters b and B). Graph construction merges the
// dumps by network and reads each route's network, netmask and AS path for IP address covering;
// next hop, metric, local preference, weight, status and origin are checked but not used.
//
// A dump is the table a router prints, possibly through a pager: free text and legends, a header
// whose captions give the columns, then one line per route. Numbers are right-aligned under
// their captions, later routes to the same network leave the network blank, a network wider than
// 16 characters pushes the rest of its line right, and a route that does not fit continues on
// the next line. Example:
//      Network          Next Hop            Metric LocPrf Weight Path
//   *> 10.0.0.0/8       192.0.2.1                0    100      0 701 1239 {3356,7018} i
//   * i                 192.0.2.2                     100      0 (65001) 701 i
#ifndef ZELGRIN_PARSERS_BGP_PARSER_H
#define ZELGRIN_PARSERS_BGP_PARSER_H

#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "asgraph/as_number.h"
#include "ip/ip_address.h"
#include "ip/ip_prefix.h"
#include "parsers/parser.h"
#include "parsers/route.h"

class BgpParser : public Parser {
 public:
  // Captions of the header, in the order of the column positions, then the pager prompt.
  static const char fieldCaptions[7][9];
  static const char routeStatCodes[7];    // "sdh*>iS", not terminated
  static const char routeOriginCodes[3];  // "ie?", not terminated
  static const char privateAS[2];         // "()"
  static const char ASset[2];             // "{}"

  // No file open, empty record, every optional value absent.
  BgpParser();
  ~BgpParser() override;

  // Skips to the next route line of a table, recording the columns of every header on the way.
  // lineReady, noMoreLines at the end of the input, noFileOpen.
  NextLineResult nextLine() override;
  // Parses the current route line into `data`. parseInputEnded when the input ends where the
  // rest of a wrapped route should be; the other results as every parser. A wrapped route makes
  // the continuation line the current line.
  ParseResult parseLine() override;
  const char* passedOverReason() const override { return kNotRouteLine; }
  const ASItem* pathItems(std::size_t& count) const override {
    count = pathLength_;
    return pathItems_.get();
  }
  bool leavePathList() override {
    fillPathList_ = false;
    data.path.clear();
    return true;
  }

  // Reading one table in parts, each by a parser of its own. The columns of the header read
  // last (nextLine gave a line), as columnPos_ holds them.
  using Columns = std::array<std::size_t, 6>;
  const Columns& columns() const { return columnPos_; }
  // After openFile of a plain file, before reading: reads only the lines that start in
  // [begin, end), `begin` being a route line that names its network, as route lines of a table
  // with `columns`. readLines counts the part's lines.
  bool continueTable(const Columns& columns, unsigned long long begin, unsigned long long end);
  // For finding where to cut a table: reads on to the next route line that names its network,
  // and gives where it starts and the network's prefix; false when none follows.
  bool nextNetworkLine(unsigned long long& at, IPPrefix& prefix);
  // True while route lines are expected: a table's header was read and nothing ended it.
  bool inTable() const { return tableState_; }
  // True when the rest of a wrapped route was looked for past the end of the part read.
  bool wrapCutByPart() const { return wrapCutByPart_; }

  Route data;

 protected:
  static const int columnCount = 6;
  // A table header has been seen and route lines are expected.
  bool tableState_ = false;
  // 1-based columns of Network, Next Hop, Metric, LocPrf, Weight and Path in the headers seen
  // since the file was opened; 0 while a caption has not been seen.
  Columns columnPos_{};

 private:
  // Column indexes into columnPos_.
  enum Column { networkCol, nextHopCol, metricCol, locPrfCol, weightCol, pathCol };

  void recordHeader();
  bool isRouteStart() const;
  bool readWrappedRest();
  ParseResult parseNetwork(std::size_t& tokenLength);
  ParseResult parseNextHop(std::size_t shift);
  ParseResult parseMetric(std::size_t shift);
  ParseResult parseSmallNumber(Column which, std::size_t shift, const char* message,
                               std::optional<int>& field);
  ParseResult parsePath(std::size_t shift);
  void appendItem(const ASItem& item);
  // Doubles the room for the path being read; out of the way of appendItem's common case.
  void growPath();
  void storePath();

  bool continuing_ = false;  // continueTable set the table: the first line does not reset it
  bool wrapCutByPart_ = false;
  // The network of the last route line with a network column, until a table ends.
  std::optional<IPAddress> prevNetwork_;
  std::optional<IPNetmask> prevNetmask_;
  // The first line of a wrapped route while its rest is looked for: when the input ends
  // first, the error report shows the route, not an empty line.
  std::string wrappedLine_;
  // The path being read, moved into data.path once the whole line is good.
  std::unique_ptr<ASItem[]> pathItems_;
  std::size_t pathCapacity_ = 0;
  std::size_t pathLength_ = 0;
  bool fillPathList_ = true;  // parsePath copies the path into data.path
};

#endif  // ZELGRIN_PARSERS_BGP_PARSER_H
