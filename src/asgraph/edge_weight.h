// What the AS graph stores along an edge: an ASEdgeWeight for each of its two ways, which graph
// construction accumulates, and for a differential graph an ASEdgeComparison, which only the
// graph file brings. Millions of edges are held at once, so the weight is a compact plain value.
#ifndef ZELGRIN_ASGRAPH_EDGE_WEIGHT_H
#define ZELGRIN_ASGRAPH_EDGE_WEIGHT_H

#include <cstdint>

#include "containers/edge_dir.h"

// The prefix a way counted last, remembered so that the next prefix counts only the addresses
// the two do not share: its first and last address. The first is the address the route gave (a
// classful prefix is not aligned to its length), the last never beyond 255.255.255.255. By
// default the whole address space, as 0.0.0.0/0.
struct RememberedPrefix {
  std::uint32_t first = 0;
  std::uint32_t last = 0xFFFFFFFFu;

  // The prefix from `address` whose netmask has the value `netmask` (255.255.0.0 is 0xFFFF0000).
  static RememberedPrefix of(std::uint32_t address, std::uint32_t netmask) {
    const std::uint64_t last = std::uint64_t(address) + ~netmask;
    return RememberedPrefix{address, last > 0xFFFFFFFFu ? 0xFFFFFFFFu : std::uint32_t(last)};
  }

  // The number of addresses the two ranges share.
  std::uint64_t sharedAddresses(const RememberedPrefix& other) const {
    const std::uint32_t from = first > other.first ? first : other.first;
    const std::uint32_t to = last < other.last ? last : other.last;
    return from <= to ? std::uint64_t(to) - from + 1 : 0;
  }

  // An IPv6 graph counts /64 units, and its ways keep here the last unit counted (the high
  // half in `first`), so that the weight stays as small as an IPv4 one.
  std::uint64_t lastUnit() const { return (std::uint64_t(first) << 32) | last; }
  void setLastUnit(std::uint64_t unit) {
    first = static_cast<std::uint32_t>(unit >> 32);
    last = static_cast<std::uint32_t>(unit);
  }
};

// Statistics of one way along an edge, as this graph counted them. Every field but lastPrefix
// goes to and from the graph file.
struct ASEdgeWeight {
  std::uint64_t ipCovering = 0;    // IPv4 addresses (IPv6 graph: /64 units) announced over it
  std::uint32_t pathCovering = 0;  // AS paths over this way
  RememberedPrefix lastPrefix;     // prefix added last to ipCovering
  bool oriented = false;           // direction determined from input data
  // IPv6 graph: lastPrefix holds the last unit counted by this run (lastUnit); until then no
  // unit is counted and the next prefix counts whole.
  bool unitCounted = false;
};

// The fields a differential graph file adds to an edge line: the edge as a compared graph saw
// it, and the counters of the comparison. Seen from one end of the edge, like a graph file line
// from its first AS. Never computed here: read from the file and written back unchanged.
struct ASEdgeComparison {
  bool cmpOriented[2] = {false, false};                // direction flag in each compared graph
  EdgeDir cmpDirection[2] = {undirected, undirected};  // direction in each compared graph
  std::uint32_t pathCovering = 0;                      // path covering of the way from this end
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

#endif  // ZELGRIN_ASGRAPH_EDGE_WEIGHT_H
