// The MRT record types and subtypes the reader tells apart (RFC 6396, RFC 8050, and the
// deprecated BGP type still found in the oldest public update dumps).
#ifndef ZELGRIN_PARSERS_MRT_TYPES_H
#define ZELGRIN_PARSERS_MRT_TYPES_H

#include <cstdint>

namespace mrt {

// Record types.
const std::uint16_t kBgp = 5;  // deprecated, 1990s update dumps
const std::uint16_t kTableDump = 12;
const std::uint16_t kTableDumpV2 = 13;
const std::uint16_t kBgp4mp = 16;
const std::uint16_t kBgp4mpEt = 17;  // BGP4MP with a microsecond field leading the body

// Subtypes of the deprecated BGP type.
const std::uint16_t kBgpUpdate = 1;
const std::uint16_t kBgpStateChange = 3;

// Subtypes of TABLE_DUMP.
const std::uint16_t kTableDumpIPv4 = 1;
const std::uint16_t kTableDumpIPv6 = 2;

// Subtypes of TABLE_DUMP_V2.
const std::uint16_t kPeerIndexTable = 1;
const std::uint16_t kRibIPv4Unicast = 2;
const std::uint16_t kRibIPv4Multicast = 3;
const std::uint16_t kRibIPv6Unicast = 4;
const std::uint16_t kRibIPv6Multicast = 5;
const std::uint16_t kRibGeneric = 6;
const std::uint16_t kRibIPv4UnicastAddPath = 8;
const std::uint16_t kRibIPv6MulticastAddPath = 11;
const std::uint16_t kRibGenericAddPath = 12;

// Subtypes of BGP4MP and BGP4MP_ET that are not messages; the reader's own table tells the
// message subtypes apart.
const std::uint16_t kStateChange = 0;
const std::uint16_t kStateChangeAS4 = 5;

// The BGP message type of an UPDATE.
const std::uint8_t kBgpMessageUpdate = 2;

}  // namespace mrt

#endif  // ZELGRIN_PARSERS_MRT_TYPES_H
