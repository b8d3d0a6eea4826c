// The address family of a graph: the IPv4 graph (the default) or the IPv6 graph (--ipv6). Every
// reader that knows the family of a route takes only the routes of the run's family; path lists,
// relationship and couple files have no family and are read alike for both.
#ifndef ZELGRIN_IP_ADDRESS_FAMILY_H
#define ZELGRIN_IP_ADDRESS_FAMILY_H

#include <cstdint>

enum class AddressFamily : std::uint8_t { ipv4, ipv6 };

// "IPv4" or "IPv6", as messages and counts name a family.
inline const char* familyName(AddressFamily family) {
  return family == AddressFamily::ipv6 ? "IPv6" : "IPv4";
}

#endif  // ZELGRIN_IP_ADDRESS_FAMILY_H
