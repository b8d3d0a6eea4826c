// The network and next hop words of a router table route. IPv4 networks and IPv6 prefixes are
// read into the record; the NLRIs of other address families (L2VPN "100:1051:VEID-2:Blk-1/136",
// EVPN "[2][1.1.1.1:1]...", link-state "[2]:[77]...") are only told apart, since no graph takes
// them.
#ifndef ZELGRIN_PARSERS_TABLE_NETWORK_H
#define ZELGRIN_PARSERS_TABLE_NETWORK_H

#include <cstddef>
#include <optional>

#include "ip/ip_address.h"
#include "ip/ipv6_prefix.h"

enum class NetworkKind {
  ipv4,
  ipv6,
  other,    // a prefix of another address family
  invalid,  // dotted decimal that is no IPv4 network (a byte above 255, a length above 32), or
            // IPv6 text that is no IPv6 prefix (no length, a length above 128, a bad address)
};

// A network word as read: `address` and `netmask` hold an IPv4 network, `prefix6` an IPv6 one.
struct TableNetwork {
  NetworkKind kind = NetworkKind::invalid;
  IPAddress address;
  std::optional<IPNetmask> netmask;
  IPv6Prefix prefix6;
};

// True when the word can be a network: it starts with a digit, "[" and a digit, ":", or a
// hexadecimal letter of an IPv6 prefix, and holds a ".", ":", "/" or "[".
bool looksLikeNetwork(const char* text, std::size_t length);

// True when the word is written as an IPv6 address or prefix: hexadecimal groups of at most four
// digits between colons, an IPv4 tail allowed, then "/" and digits or nothing. Such a word is
// the IPv6 network or next hop even where its first letters could be status codes ("fd00::/8").
bool looksLikeIPv6(const char* text, std::size_t length);

// Sorts a network word and reads it. An IPv4 netmask is set for a written length (0 to 32) and
// for a bare 0.0.0.0, the default route; other IPv4 networks without a length leave it absent,
// for graph construction to take the classful one. An IPv6 network needs its length.
TableNetwork readTableNetwork(const char* text, std::size_t length);

// True when the word is a next hop: an IPv4 or IPv6 address (a link-local one with its "%zone"),
// or "-" (Arista, none). Stores an IPv4 address in `address`; leaves it unchanged otherwise.
bool readNextHop(const char* text, std::size_t length, IPAddress& address);

#endif  // ZELGRIN_PARSERS_TABLE_NETWORK_H
