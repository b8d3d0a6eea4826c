// The network and next hop words of a router table route. IPv4 networks are read into the
// record; IPv6 prefixes and the NLRIs of other address families (L2VPN "100:1051:VEID-2:Blk-1/136",
// EVPN "[2][1.1.1.1:1]...", link-state "[2]:[77]...") are only told apart, since graph
// construction covers IPv4 addresses alone.
#ifndef ZELGRIN_PARSERS_TABLE_NETWORK_H
#define ZELGRIN_PARSERS_TABLE_NETWORK_H

#include <cstddef>
#include <optional>

#include "ip/ip_address.h"

enum class NetworkKind {
  ipv4,
  ipv6,
  other,    // a prefix of another address family
  invalid,  // dotted decimal that is no IPv4 network: a byte above 255, a length above 32
};

// True when the word can be a network: it starts with a digit, "[" and a digit, ":", or a
// hexadecimal letter of an IPv6 prefix, and holds a ".", ":", "/" or "[".
bool looksLikeNetwork(const char* text, std::size_t length);

// Sorts a network word and, for IPv4, reads it. The netmask is set for a written length (0 to
// 32) and for a bare 0.0.0.0, the default route; other networks without a length leave it
// absent, for graph construction to take the classful one.
NetworkKind readTableNetwork(const char* text, std::size_t length, IPAddress& address,
                             std::optional<IPNetmask>& netmask);

// True when the word is a next hop: an IPv4 or IPv6 address, or "-" (Arista, none).
// Stores an IPv4 address in `address`; leaves it unchanged otherwise.
bool readNextHop(const char* text, std::size_t length, IPAddress& address);

#endif  // ZELGRIN_PARSERS_TABLE_NETWORK_H
