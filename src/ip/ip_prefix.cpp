#include "ip/ip_prefix.h"

IPPrefix::IPPrefix(const IPAddress& a) : prefixAddress(a), prefixNetmask(), addressList() {
  switch (a.ipClass()) {
    case 'A':
      prefixNetmask.setNetmask(char(8));
      break;
    case 'B':
      prefixNetmask.setNetmask(char(16));
      break;
    case 'C':
      prefixNetmask.setNetmask(char(24));
      break;
    default:
      break;  // D, E and U keep the default 255.255.255.255
  }
}

bool IPPrefix::isMoreSpecific(const IPPrefix& other) const {
  return prefixNetmask > other.prefixNetmask &&
         prefixAddress.mask(other.prefixNetmask) == other.prefixAddress;
}

bool IPPrefix::isLessSpecific(const IPPrefix& other) const {
  return prefixNetmask < other.prefixNetmask &&
         other.prefixAddress.mask(prefixNetmask) == prefixAddress;
}

List<IPAddress>& IPPrefix::listAddresses() {
  addressList = List<IPAddress>();
  uint32_t current = prefixAddress.value();
  uint32_t last = static_cast<uint32_t>(lastValue());
  // Stepping is done only below last, so the walk stops at 255.255.255.255 without wrapping.
  while (true) {
    addressList.enqueue(IPAddress::fromValue(current));
    if (current >= last) break;
    ++current;
  }
  return addressList;
}
