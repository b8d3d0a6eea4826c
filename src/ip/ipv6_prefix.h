// An IPv6 network prefix as graph construction orders and counts it: the address as two 64-bit
// halves with the host bits cleared, and the length. IPv6 address covering is counted in units
// of /64, so the high half alone names a prefix's units: a /48 holds 65536 of them, a prefix
// longer than /64 lies inside one.
#ifndef ZELGRIN_IP_IPV6_PREFIX_H
#define ZELGRIN_IP_IPV6_PREFIX_H

#include <cstdint>
#include <string_view>

struct IPv6Prefix {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  std::uint8_t length = 0;  // 0 to 128

  // The prefix of `length` (above 128 taken as 128) whose address is the 16 bytes, most
  // significant first; the host bits are cleared.
  static IPv6Prefix fromBytes(const std::uint8_t bytes[16], unsigned length);

  // The first and last /64 unit the prefix holds.
  std::uint64_t firstUnit() const { return high; }
  std::uint64_t lastUnit() const { return length >= 64 ? high : high | (~0ull >> length); }

  // The merge order of routes: the lower address first, then the longer prefix.
  bool before(const IPv6Prefix& other) const {
    if (high != other.high) return high < other.high;
    if (low != other.low) return low < other.low;
    return length > other.length;
  }
  bool operator==(const IPv6Prefix& other) const {
    return high == other.high && low == other.low && length == other.length;
  }
};

// Reads "2001:db8::/32" (any text form of an IPv6 address, then "/" and a length of 0 to 128)
// into `prefix`, clearing the host bits. False, leaving `prefix` as it was, for anything else.
bool parseIPv6Prefix(std::string_view text, IPv6Prefix& prefix);

#endif  // ZELGRIN_IP_IPV6_PREFIX_H
