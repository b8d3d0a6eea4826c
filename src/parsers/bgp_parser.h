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

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "asgraph/as_number.h"
#include "containers/list.h"
#include "ip/ip_address.h"
#include "parsers/parser.h"

class bgpParser : public Parser {
 public:
  // One AS of a path, with its marks.
  struct ASItem {
    // Inside a "(...)" segment, or a private AS number (isPrivateAS).
    static constexpr unsigned char privateFlag = 1;
    // Member of an AS set "{...}".
    static constexpr unsigned char setFlag = 2;
    // Inside a "(...)" confederation segment. Only the table reader marks it, for the paths it
    // gives as a path list would, without the segment.
    static constexpr unsigned char confedFlag = 4;

    ASNumber AS = 0;
    unsigned char flags = 0;
  };

  // One route. Bits of `status`: s 1, d 2, h 4, * 8, > 16, i 32, S 64 (the order of
  // routeStatCodes); bits of `origin`: i 1, e 2, ? 4 (the order of routeOriginCodes).
  struct parsed_data {
    // The route's network; on a line with a blank network column, the previous route's.
    IPAddress network;
    // Present for a prefix length 1 to 32; absent without a length or for "/0".
    std::optional<IPNetmask> networkMask;
    IPAddress nextHop;
    unsigned char status = 0;
    unsigned char origin = 0;
    // Each absent when the header has no such caption or the line leaves the column blank.
    std::optional<unsigned long long> metric;
    std::optional<int> localPref;    // 0 to 65535
    std::optional<int> routeWeight;  // 0 to 65535
    // The AS path in line order; origin codes are not items.
    List<ASItem> path;
  };

  // Captions of the header, in the order of the column positions, then the pager prompt.
  static const char fieldCaptions[7][9];
  static const char routeStatCodes[7];    // "sdh*>iS", not terminated
  static const char routeOriginCodes[3];  // "ie?", not terminated
  static const char privateAS[2];         // "()"
  static const char ASset[2];             // "{}"

  // No file open, empty record, every optional value absent.
  bgpParser();
  ~bgpParser() override;

  // Skips to the next route line of a table, recording the columns of every header on the way.
  // 0 with the line ready, 1 at the end of the input, 2 with no file open.
  int nextLine() override;
  // Parses the current route line into `data`. 0 on success; 1 when the input ends where the
  // rest of a wrapped route should be; 2 to 5 as every parser. A wrapped route makes the
  // continuation line the current line.
  int parseLine() override;

  parsed_data data;

 private:
  // Column indexes into columnPos_.
  enum column { networkCol, nextHopCol, metricCol, locPrfCol, weightCol, pathCol };

  void recordHeader();
  bool isRouteStart() const;
  bool readWrappedRest();
  int readDotted(const char* token, std::size_t length, bool withLength, long long* numbers);
  int parseNetwork(std::size_t& tokenLength);
  int parseNextHop(std::size_t shift);
  int parseMetric(std::size_t shift);
  int parseSmallNumber(column which, std::size_t shift, const char* message,
                       std::optional<int>& field);
  int parsePath(std::size_t shift);
  void appendItem(const ASItem& item);
  void storePath();

  // The network of the last route line with a network column, until a table ends.
  std::optional<IPAddress> prevNetwork_;
  std::optional<IPNetmask> prevNetmask_;
  // Scratch copy of an unusual token for the full scan, kept to reuse its storage.
  std::string token_;
  // The first line of a wrapped route while its rest is looked for: when the input ends
  // first, the error report shows the route, not an empty line.
  std::string wrappedLine_;
  // The path being read, moved into data.path once the whole line is good.
  std::unique_ptr<ASItem[]> pathItems_;
  std::size_t pathCapacity_ = 0;
  std::size_t pathLength_ = 0;
};

#endif  // ZELGRIN_PARSERS_BGP_PARSER_H
