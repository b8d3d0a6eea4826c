// Statistics of one way along an AS graph edge: the record stored twice in every edge copy of the
// graph (its own way and the opposite way). Graph construction accumulates covering values in it;
// the graph file carries every field but lastPrefix to and from text.
#ifndef ZELGRIN_ASGRAPH_EDGE_WEIGHT_H_
#define ZELGRIN_ASGRAPH_EDGE_WEIGHT_H_

#include <cstdint>

#include "asgraph/edge_dir.h"
#include "ip/ip_prefix.h"

// A plain value record. Index 0 of the paired fields belongs to this graph, index 1 to the second
// graph of a comparison (differential graphs only). The comparison fields are never computed
// here: they arrive from a differential graph file and are written back unchanged.
class ASEdgeWeight {
 public:
  // Every field at its default: zero counters, not oriented, undirected, one compared graph.
  ASEdgeWeight();
  // Member-wise copy; the copy holds its own prefix.
  ASEdgeWeight(const ASEdgeWeight& other);
  // Member-wise assignment; returns this weight.
  ASEdgeWeight& operator=(const ASEdgeWeight& other);
  ~ASEdgeWeight() = default;

  bool oriented;                     // direction determined from input data
  std::uint32_t pathCovering[2];     // AS paths over this way
  std::uint64_t ipCovering[2];       // IPv4 addresses announced over this way
  IPPrefix lastPrefix;               // prefix added last to ipCovering[0]; never in the file
  bool cmpOriented[2];               // direction flag in each compared graph
  edge_dir cmpDirection[2];          // direction in each compared graph
  std::uint16_t comparedGraphs;
  std::uint16_t incomingCount;
  std::uint16_t outgoingCount;
  std::uint16_t undirectedCount;
  std::uint16_t unorientedCount;
  float orientationStability;
  std::uint16_t orientationChanges;
};

#endif  // ZELGRIN_ASGRAPH_EDGE_WEIGHT_H_
