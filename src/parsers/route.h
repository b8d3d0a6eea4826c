// One route as the route readers hand it out: the classic dump reader (b), the router table
// reader (t) and the MRT reader (m) each fill one, and graph construction merges the routes of
// all such files by network for IP address covering.
#ifndef ZELGRIN_PARSERS_ROUTE_H
#define ZELGRIN_PARSERS_ROUTE_H

#include <optional>

#include "asgraph/as_number.h"
#include "containers/list.h"
#include "ip/address_family.h"
#include "ip/ip_address.h"
#include "ip/ipv6_prefix.h"

// One AS of a path, with its marks.
struct ASItem {
  // Member of an AS set "{...}".
  static constexpr unsigned char setFlag = 1;
  // Inside a "(...)" confederation segment. Only the table reader marks it, for the paths it
  // gives as a path list would, without the segment.
  static constexpr unsigned char confedFlag = 2;

  ASNumber AS = 0;
  unsigned char flags = 0;
};

// Bits of `status`: s 1, d 2, h 4, * 8, > 16, i 32, S 64 (the order of the dump reader's
// routeStatCodes); bits of `origin`: i 1, e 2, ? 4 (the order of its routeOriginCodes).
struct Route {
  // The route's network; on a line with a blank network column, the previous route's.
  IPAddress network;
  // Present for a prefix length 1 to 32; absent without a length or for "/0" in a dump.
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
  // An IPv6 route (the readers set it in an IPv6 run only) holds its network in network6;
  // network and networkMask are then left as they were.
  AddressFamily family = AddressFamily::ipv4;
  IPv6Prefix network6;
};

#endif  // ZELGRIN_PARSERS_ROUTE_H
