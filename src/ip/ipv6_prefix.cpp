#include "ip/ipv6_prefix.h"

#include <arpa/inet.h>

#include <cstring>

IPv6Prefix IPv6Prefix::fromBytes(const std::uint8_t bytes[16], unsigned length) {
  IPv6Prefix prefix;
  prefix.length = static_cast<std::uint8_t>(length > 128 ? 128 : length);
  for (int k = 0; k < 8; ++k) {
    prefix.high = (prefix.high << 8) | bytes[k];
    prefix.low = (prefix.low << 8) | bytes[8 + k];
  }
  // Clear the host bits, minding that a shift by 64 is undefined.
  const unsigned n = prefix.length;
  if (n < 64) {
    prefix.high &= n == 0 ? 0 : ~0ull << (64 - n);
    prefix.low = 0;
  } else if (n < 128) {
    prefix.low &= n == 64 ? 0 : ~0ull << (128 - n);
  }
  return prefix;
}

bool parseIPv6Prefix(std::string_view text, IPv6Prefix& prefix) {
  const std::size_t slash = text.find('/');
  // The longest text form of an address is 45 characters (with an IPv4 tail).
  if (slash == std::string_view::npos || slash == 0 || slash > 45) return false;
  const std::string_view digits = text.substr(slash + 1);
  if (digits.empty() || digits.size() > 3) return false;
  unsigned length = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    length = length * 10 + static_cast<unsigned>(c - '0');
  }
  if (length > 128) return false;
  char address[46];
  std::memcpy(address, text.data(), slash);
  address[slash] = '\0';
  std::uint8_t bytes[16];
  if (inet_pton(AF_INET6, address, bytes) != 1) return false;
  prefix = IPv6Prefix::fromBytes(bytes, length);
  return true;
}
