// What the AS graph stores along an edge: an ASEdgeWeight for each of its two ways, which graph
// construction accumulates, and for a differential graph an ASEdgeComparison, which only the
// graph file brings. Millions of edges are held at once, so the weight is a compact plain value.
#ifndef ZELGRIN_ASGRAPH_EDGE_WEIGHT_H_
#define ZELGRIN_ASGRAPH_EDGE_WEIGHT_H_

#include <cstdint>

#include "asgraph/edge_dir.h"

// The prefix a way counted last, remembered so that the next prefix counts only the addresses
// the two do not share. The address is kept as the route gave it (a classful prefix is not
// aligned to its length). By default the whole address space, 0.0.0.0/0.
struct RememberedPrefix {
  std::uint32_t address = 0;
  std::uint8_t length = 0;  // 0 to 32

  // The number of addresses this range and the `length`-bit prefix range from `address` share;
  // each range runs from its address for 2^(32 - length) addresses, cut at 255.255.255.255.
  std::uint64_t sharedAddresses(std::uint32_t otherAddress, unsigned otherLength) const {
    const std::uint64_t first = address > otherAddress ? address : otherAddress;
    const std::uint64_t last = lastOf(address, length) < lastOf(otherAddress, otherLength)
                                   ? lastOf(address, length)
                                   : lastOf(otherAddress, otherLength);
    return first <= last ? last - first + 1 : 0;
  }

 private:
  static std::uint64_t lastOf(std::uint32_t address, unsigned length) {
    const std::uint64_t last = address + (std::uint64_t(1) << (32 - length)) - 1;
    return last > 0xFFFFFFFFull ? 0xFFFFFFFFull : last;
  }
};

// Statistics of one way along an edge, as this graph counted them. Every field but lastPrefix
// goes to and from the graph file.
struct ASEdgeWeight {
  std::uint64_t ipCovering = 0;    // IPv4 addresses announced over this way
  std::uint32_t pathCovering = 0;  // AS paths over this way
  RememberedPrefix lastPrefix;     // prefix added last to ipCovering
  bool oriented = false;           // direction determined from input data
};

// The fields a differential graph file adds to an edge line: the edge as a compared graph saw
// it, and the counters of the comparison. Seen from one end of the edge, like a graph file line
// from its first AS. Never computed here: read from the file and written back unchanged.
struct ASEdgeComparison {
  bool cmpOriented[2] = {false, false};                 // direction flag in each compared graph
  edge_dir cmpDirection[2] = {undirected, undirected};  // direction in each compared graph
  std::uint32_t pathCovering = 0;         // path covering of the way from this end
  std::uint64_t ipCovering = 0;           // IP address covering of the way from this end
  std::uint32_t reversePathCovering = 0;  // the same for the way toward this end
  std::uint64_t reverseIpCovering = 0;
  std::uint16_t comparedGraphs = 1;
  std::uint16_t incomingCount = 0;
  std::uint16_t outgoingCount = 0;
  std::uint16_t undirectedCount = 0;
  std::uint16_t unorientedCount = 0;
  std::uint16_t orientationChanges = 0;
  float orientationStability = 0.0f;

  // The same comparison seen from the other end: the directions reversed, the two ways and the
  // incoming and outgoing counts swapped.
  ASEdgeComparison reversed() const;
};

#endif  // ZELGRIN_ASGRAPH_EDGE_WEIGHT_H_
