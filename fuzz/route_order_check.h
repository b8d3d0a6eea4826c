// The check the route readers' harnesses make of the second reading: every route handed out is
// of the run's family and comes in the merge's order (lower address first, then the longer
// prefix), or the harness aborts.
#ifndef ZELGRIN_FUZZ_ROUTE_ORDER_CHECK_H
#define ZELGRIN_FUZZ_ROUTE_ORDER_CHECK_H

#include <cstdlib>

#include "ip/ip_prefix.h"
#include "parsers/route.h"

class RouteOrderCheck {
 public:
  explicit RouteOrderCheck(AddressFamily family) : family_(family) {}

  void next(const Route& route) {
    if (route.family != family_) std::abort();
    if (family_ == AddressFamily::ipv6) {
      // No IPv6 prefix comes before all others: ::/128 is the least.
      if (!first6_ && route.network6.before(last6_)) std::abort();
      last6_ = route.network6;
      first6_ = false;
      return;
    }
    const IPPrefix prefix(route.network, *route.networkMask);
    const unsigned long long key =
        (static_cast<unsigned long long>(prefix.address().value()) << 6) |
        static_cast<unsigned long long>(32 - prefix.netmask().brief());
    if (key < lastKey_) std::abort();
    lastKey_ = key;
  }

 private:
  AddressFamily family_;
  unsigned long long lastKey_ = 0;
  IPv6Prefix last6_;
  bool first6_ = true;
};

#endif  // ZELGRIN_FUZZ_ROUTE_ORDER_CHECK_H
