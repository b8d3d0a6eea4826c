// One AS path with one prefix, as the MRT reader hands it out: a RIB entry of one peer, or one
// prefix announced by a BGP UPDATE (every prefix of an update shares the update's path).
#ifndef ZELGRIN_PARSERS_MRT_ENTRY_H
#define ZELGRIN_PARSERS_MRT_ENTRY_H

#include <cstdint>
#include <vector>

#include "asgraph/as_number.h"
#include "ip/address_family.h"

enum class MrtEntryKind : std::uint8_t { ribEntry, announcement };
// The family of an entry's prefix is the run's own notion of family.
using MrtFamily = AddressFamily;

struct MrtEntry {
  MrtEntryKind kind = MrtEntryKind::ribEntry;
  MrtFamily family = MrtFamily::ipv4;
  // A multicast route: a RIB_IPV4/IPV6_MULTICAST entry or an MP_REACH_NLRI prefix of SAFI 2.
  bool multicast = false;
  std::uint8_t prefixLength = 0;
  // The IPv4 network in host byte order, as the input wrote it (host bits are not cleared).
  std::uint32_t prefixV4 = 0;
  // The IPv6 network's bytes; bytes past the prefix length are zero.
  std::uint8_t prefixV6[16] = {};
  // The AS_SEQUENCE ASes in order, AS4_PATH merged in for 2-byte paths. Refilled for every
  // entry; its capacity stays, so a reader in steady state allocates nothing.
  std::vector<ASNumber> path;
  // The AS that sent the path: the peer, or the local AS for a message the collector sent.
  ASNumber peerAS = 0;
  // True when some AS of path is above 65535.
  bool pathHasWideAS = false;
  // True when an AS_SET or a confederation segment was left out of path.
  bool droppedSegments = false;
  // The record's time stamp, seconds since 1970.
  std::uint32_t time = 0;
  // Where the record holding the entry starts in the decoded stream.
  std::uint64_t recordOffset = 0;
};

#endif  // ZELGRIN_PARSERS_MRT_ENTRY_H
