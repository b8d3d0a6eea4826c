#include "parsers/bgp_attributes.h"

#include <cstring>

namespace {

const std::uint8_t kExtendedLength = 0x10;
const std::uint8_t kAttrASPath = 2;
const std::uint8_t kAttrMPReach = 14;
const std::uint8_t kAttrAS4Path = 17;

const std::uint16_t kAfiIPv4 = 1;
const std::uint16_t kAfiIPv6 = 2;
const std::uint8_t kSafiUnicast = 1;
const std::uint8_t kSafiMulticast = 2;

}  // namespace

const char* findBgpAttributes(ByteCursor block, BgpAttributes& found) {
  found = BgpAttributes();
  while (!block.empty()) {
    std::uint8_t flags = 0, type = 0;
    std::uint16_t length = 0;
    if (!block.takeU8(flags) || !block.takeU8(type)) return "attribute header cut short";
    if (flags & kExtendedLength) {
      if (!block.takeU16(length)) return "attribute header cut short";
    } else {
      std::uint8_t shortLength = 0;
      if (!block.takeU8(shortLength)) return "attribute header cut short";
      length = shortLength;
    }
    ByteCursor value;
    if (!block.takeBytes(length, value)) return "attribute longer than the attributes";
    if (type == kAttrASPath && !found.hasASPath) {
      found.hasASPath = true;
      found.asPath = value;
    } else if (type == kAttrAS4Path && !found.hasAS4Path) {
      found.hasAS4Path = true;
      found.as4Path = value;
    } else if (type == kAttrMPReach && !found.hasMPReach) {
      found.hasMPReach = true;
      found.mpReach = value;
    }
  }
  return nullptr;
}

const char* openMPReach(ByteCursor value, MrtFamily& family, bool& multicast, bool& usable,
                        ByteCursor& nlri) {
  std::uint16_t afi = 0;
  std::uint8_t safi = 0, nextHopLength = 0;
  if (!value.takeU16(afi) || !value.takeU8(safi) || !value.takeU8(nextHopLength))
    return "MP_REACH_NLRI cut short";
  if (!value.skip(std::size_t{nextHopLength} + 1)) return "MP_REACH_NLRI next hop cut short";
  usable = (afi == kAfiIPv4 || afi == kAfiIPv6) && (safi == kSafiUnicast || safi == kSafiMulticast);
  family = afi == kAfiIPv6 ? MrtFamily::ipv6 : MrtFamily::ipv4;
  multicast = safi == kSafiMulticast;
  nlri = value;
  return nullptr;
}

const char* takePrefix(ByteCursor& nlri, MrtFamily family, bool addPath, MrtEntry& entry) {
  ByteCursor rest = nlri;
  if (addPath && !rest.skip(4)) return "path identifier cut short";
  std::uint8_t length = 0;
  if (!rest.takeU8(length)) return "prefix cut short";
  const unsigned maxLength = family == MrtFamily::ipv4 ? 32 : 128;
  if (length > maxLength) return "prefix length out of range";
  std::uint8_t bytes[16] = {};
  if (!rest.copyBytes((length + 7u) / 8u, bytes)) return "prefix cut short";
  entry.family = family;
  entry.prefixLength = length;
  if (family == MrtFamily::ipv4) {
    entry.prefixV4 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                     (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
  } else {
    std::memcpy(entry.prefixV6, bytes, sizeof bytes);
  }
  nlri = rest;
  return nullptr;
}
