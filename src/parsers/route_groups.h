// The second reading of the MRT and pipe route readers: their RIB entries go in as read and come
// out in the merge's order (lower address first, then the longer prefix, entries of one prefix
// in file order). Collectors write RIBs with addresses ascending but a shorter prefix before a
// longer one of the same address, so when the reader knows its input ascends, the entries of one
// address are held at a time; otherwise the whole input is held. Held entries go through an
// MrtRouteSort, so memory stays bounded however many there are.
//
// Usage, for Prefix MrtIPv4Prefix or IPv6Prefix:
//   RouteGroups<Prefix> groups(sortMemory, ascending);
//   loop: if (groups.next(route)) hand out route;  else if (groups.failed()) fail;
//         else read an entry: groups.add(...), or at the input's end groups.finish()
#ifndef ZELGRIN_PARSERS_ROUTE_GROUPS_H
#define ZELGRIN_PARSERS_ROUTE_GROUPS_H

#include <cstddef>
#include <vector>

#include "parsers/mrt_route_sort.h"
#include "parsers/route.h"

template <class Prefix>
class RouteGroups {
 public:
  using Route = typename MrtRouteSortOf<Prefix>::Route;

  // `byAddress`: the input's addresses ascend, so a group ends where the address changes.
  RouteGroups(std::size_t sortMemory, bool byAddress) : sort_(sortMemory), byAddress_(byAddress) {}

  // Takes an entry. One of a new address ends the group held so far, whose routes next() then
  // hands out, and is kept to begin the next group. False with reason() on a failure.
  bool add(const Prefix& prefix, const ASNumber* path, std::size_t pathLength) {
    if (byAddress_ && !sort_.empty() && !sameAddress(prefix, group_)) {
      carried_ = prefix;
      carriedPath_.assign(path, path + pathLength);
      hasCarried_ = true;
      return close();
    }
    group_ = prefix;
    return sort_.add(prefix, path, pathLength);
  }
  // Ends the last group at the end of the input. False with reason() on a failure.
  bool finish() { return close(); }
  // The next route of an ended group: false when none is ready (then add more entries, or the
  // input is over) or on a failure.
  bool next(Route& route) {
    if (!delivering_ || failed()) return false;
    if (sort_.next(route)) return true;
    if (failed()) return false;
    delivering_ = false;
    sort_.clear();
    if (hasCarried_) {
      hasCarried_ = false;
      group_ = carried_;
      sort_.add(carried_, carriedPath_.data(), carriedPath_.size());
    }
    return false;
  }
  bool failed() const { return sort_.failed(); }
  const char* reason() const { return sort_.reason(); }

 private:
  bool close() {
    delivering_ = true;
    return sort_.finish();
  }

  MrtRouteSortOf<Prefix> sort_;
  bool byAddress_;
  bool delivering_ = false;
  Prefix group_;  // of the entries held
  bool hasCarried_ = false;
  Prefix carried_;  // begins the next group
  std::vector<ASNumber> carriedPath_;
};

inline void setRouteNetwork(const MrtIPv4Prefix& prefix, Route& data) {
  const std::uint32_t a = prefix.address;
  data.network.setAddress(static_cast<unsigned char>(a >> 24), static_cast<unsigned char>(a >> 16),
                          static_cast<unsigned char>(a >> 8), static_cast<unsigned char>(a));
  // Every length, 0 too, is a real netmask: a prefix always says its length.
  data.networkMask = IPNetmask(static_cast<char>(prefix.length));
}

inline void setRouteNetwork(const IPv6Prefix& prefix, Route& data) {
  data.family = AddressFamily::ipv6;
  data.network6 = prefix;
}

// Makes `data` the route: its network (host bits as the input wrote them for IPv4) and its path.
template <class SortedRoute>
void setRoute(const SortedRoute& route, Route& data) {
  setRouteNetwork(route.prefix, data);
  data.path.clear();
  for (std::uint32_t k = 0; k < route.pathLength; ++k) {
    ASItem item;
    item.AS = route.path[k];
    data.path.enqueue(item);
  }
}

#endif  // ZELGRIN_PARSERS_ROUTE_GROUPS_H
