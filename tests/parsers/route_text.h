// A route handed out by a reader's second pass as tests compare it: "PREFIX AS AS ...", the
// prefix an IPv4 or IPv6 one as the route's family says.
#ifndef ZELGRIN_TESTS_PARSERS_ROUTE_TEXT_H
#define ZELGRIN_TESTS_PARSERS_ROUTE_TEXT_H

#include <arpa/inet.h>

#include <string>

#include "parsers/route.h"

// "2001:db8::/32".
inline std::string ipv6PrefixText(const IPv6Prefix& prefix) {
  unsigned char bytes[16];
  for (int k = 0; k < 8; ++k) {
    bytes[k] = static_cast<unsigned char>(prefix.high >> (56 - 8 * k));
    bytes[8 + k] = static_cast<unsigned char>(prefix.low >> (56 - 8 * k));
  }
  char address[INET6_ADDRSTRLEN];
  inet_ntop(AF_INET6, bytes, address, sizeof address);
  return std::string(address) + "/" + std::to_string(prefix.length);
}

inline std::string routeText(Route& route) {
  std::string text;
  if (route.family == AddressFamily::ipv6) {
    text = ipv6PrefixText(route.network6);
  } else {
    const unsigned char* o = route.network.getAddress();
    text = std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
           std::to_string(o[3]) + "/" + std::to_string(route.networkMask->brief());
  }
  List<ASItem>& path = route.path;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) text += " " + std::to_string(path.current().AS);
  return text;
}

#endif  // ZELGRIN_TESTS_PARSERS_ROUTE_TEXT_H
