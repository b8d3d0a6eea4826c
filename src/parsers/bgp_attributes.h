// Finds, in the path attributes of a BGP route, the few the MRT reader needs: AS_PATH, AS4_PATH
// and MP_REACH_NLRI. Each attribute value comes back as its own sub-view, so a wrong length
// inside one can never reach the next attribute.
//
// Layout of one attribute: flags (1 byte; 0x10 = extended length), type code (1), length (1, or
// 2 when extended), value. Flag bits other than extended length do not matter here.
#ifndef ZELGRIN_PARSERS_BGP_ATTRIBUTES_H
#define ZELGRIN_PARSERS_BGP_ATTRIBUTES_H

#include "parsers/byte_cursor.h"
#include "parsers/mrt_entry.h"

struct BgpAttributes {
  bool hasASPath = false;
  bool hasAS4Path = false;
  bool hasMPReach = false;
  ByteCursor asPath;
  ByteCursor as4Path;
  ByteCursor mpReach;
};

// Fills `found` from the attribute block (the first of each kind counts). Returns null on
// success, else why the block is malformed.
const char* findBgpAttributes(ByteCursor block, BgpAttributes& found);

// Opens an MP_REACH_NLRI value as an UPDATE carries it: AFI (2), SAFI (1), next hop length (1),
// next hop, one reserved byte, then the announced prefixes, returned in `nlri`. `usable` is false
// for address families other than IPv4 and IPv6 unicast or multicast, whose prefixes are not
// plain; `multicast` tells the two apart. Returns null on success, else why the value is
// malformed.
const char* openMPReach(ByteCursor value, MrtFamily& family, bool& multicast, bool& usable,
                        ByteCursor& nlri);

// Takes one prefix (length in bits, then just the bytes that length needs) of `family` into
// the entry's prefix fields; with addPath a 4-byte path identifier comes first and is skipped.
// Returns null on success, else why the prefix is malformed (nothing of the entry changes).
const char* takePrefix(ByteCursor& nlri, MrtFamily family, bool addPath, MrtEntry& entry);

#endif  // ZELGRIN_PARSERS_BGP_ATTRIBUTES_H
