// Turns the AS_PATH (and AS4_PATH) attribute values of a BGP route into the AS sequence of an
// MRT entry. Graph construction wants ordered adjacencies only, so AS_SET and confederation
// segments are left out and the entry notes that they were.
#ifndef ZELGRIN_PARSERS_AS_PATH_DECODER_H
#define ZELGRIN_PARSERS_AS_PATH_DECODER_H

#include "parsers/byte_cursor.h"
#include "parsers/mrt_entry.h"

// Segment types of AS_PATH and AS4_PATH.
enum ASPathSegmentType : std::uint8_t {
  kASSet = 1,
  kASSequence = 2,
  kASConfedSequence = 3,
  kASConfedSet = 4,
};

// Replaces entry.path with the AS_SEQUENCE ASes of `asPath`, whose AS numbers are asBytes (2 or
// 4) wide, and sets entry.pathHasWideAS and entry.droppedSegments. When as4Path is not null
// (2-byte paths only) it is merged as a 4-byte speaker does: when it counts no more ASes than
// AS_PATH (an AS_SET counts 1, confederation segments 0), the leading ASes of AS_PATH that it
// does not cover come first, then AS4_PATH's own; a longer or malformed AS4_PATH is ignored.
// Returns null on success, else why asPath is malformed (entry.path is then unspecified).
const char* decodeASPath(ByteCursor asPath, int asBytes, const ByteCursor* as4Path,
                         MrtEntry& entry);

#endif  // ZELGRIN_PARSERS_AS_PATH_DECODER_H
