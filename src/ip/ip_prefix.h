// An IPv4 network prefix: an address and a contiguous netmask. Graph construction turns each
// BGP dump network into one, every edge weight remembers one, and address sets are built from it.
#ifndef ZELGRIN_IP_IP_PREFIX_H
#define ZELGRIN_IP_IP_PREFIX_H

#include <cstdint>

#include "containers/list.h"
#include "ip/ip_address.h"

class IPPrefix {
 public:
  // 0.0.0.0 with netmask 0.0.0.0: the whole address space.
  IPPrefix();
  // Address a unchanged (not masked) with its classful netmask: A /8, B /16, C /24, else /32.
  explicit IPPrefix(const IPAddress& a);
  // Address a.mask(n) with netmask n.
  IPPrefix(const IPAddress& a, const IPNetmask& n);
  // Copies address, netmask and the last address list.
  IPPrefix(const IPPrefix& other);
  // Copies address and netmask; this prefix's address list stays as it was.
  IPPrefix& operator=(const IPPrefix& other);

  // Address and netmask both equal / not both equal.
  bool operator==(const IPPrefix& other) const;
  bool operator!=(const IPPrefix& other) const;
  // True when this netmask is strictly longer and this address masked with other's netmask is
  // other's stored address.
  bool isMoreSpecific(const IPPrefix& other) const;
  // True when this netmask is strictly shorter and other's address masked with this netmask is
  // this stored address.
  bool isLessSpecific(const IPPrefix& other) const;

  IPAddress address() const;
  IPNetmask netmask() const;
  // 2^(32 - length): 4294967296 for length 0, 1 for length 32.
  unsigned long long addresses() const;
  // Number of addresses this prefix and other have in common, the ranges being the stored
  // address up to address + (addresses() - 1); the same number as addresses() of the
  // intersection of the two address sets built from the prefixes, without building them.
  uint64_t sharedAddresses(const IPPrefix& other) const;
  // The addresses() consecutive addresses from the stored one, ascending, never wrapping past
  // 255.255.255.255. The list belongs to this prefix and is refilled on every call.
  // Costs one list element per address: for long prefixes only.
  List<IPAddress>& listAddresses();

 private:
  // Numeric first and last address of the range; the last is kept below 2^32.
  uint64_t firstValue() const { return prefixAddress.value(); }
  uint64_t lastValue() const;

  IPAddress prefixAddress;
  IPNetmask prefixNetmask;
  List<IPAddress> addressList;
};

inline IPPrefix::IPPrefix() : prefixAddress(), prefixNetmask(0, 0, 0, 0), addressList() {}

inline IPPrefix::IPPrefix(const IPAddress& a, const IPNetmask& n)
    : prefixAddress(a.mask(n)), prefixNetmask(n), addressList() {}

inline IPPrefix::IPPrefix(const IPPrefix& other)
    : prefixAddress(other.prefixAddress),
      prefixNetmask(other.prefixNetmask),
      addressList(other.addressList) {}

inline IPPrefix& IPPrefix::operator=(const IPPrefix& other) {
  prefixAddress = other.prefixAddress;
  prefixNetmask = other.prefixNetmask;
  return *this;
}

inline bool IPPrefix::operator==(const IPPrefix& other) const {
  return prefixAddress == other.prefixAddress && prefixNetmask == other.prefixNetmask;
}

inline bool IPPrefix::operator!=(const IPPrefix& other) const { return !(*this == other); }

inline IPAddress IPPrefix::address() const { return prefixAddress; }

inline IPNetmask IPPrefix::netmask() const { return prefixNetmask; }

// The host part of a contiguous mask plus one is the size: ~0.0.0.0 + 1 = 2^32, ~/32 + 1 = 1.
inline unsigned long long IPPrefix::addresses() const {
  return static_cast<unsigned long long>(~prefixNetmask.value()) + 1;
}

// Only a classful prefix keeps an unaligned address, and none of those reaches past
// 255.255.255.255; the clamp keeps the range sound should one ever be built otherwise.
inline uint64_t IPPrefix::lastValue() const {
  uint64_t last = firstValue() + addresses() - 1;
  return last > 0xFFFFFFFFull ? 0xFFFFFFFFull : last;
}

inline uint64_t IPPrefix::sharedAddresses(const IPPrefix& other) const {
  uint64_t first = firstValue() > other.firstValue() ? firstValue() : other.firstValue();
  uint64_t last = lastValue() < other.lastValue() ? lastValue() : other.lastValue();
  return first <= last ? last - first + 1 : 0;
}

#endif  // ZELGRIN_IP_IP_PREFIX_H
