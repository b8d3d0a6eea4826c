#include "asgraph/edge_weight.h"

ASEdgeWeight::ASEdgeWeight()
    : oriented(false),
      pathCovering{0, 0},
      ipCovering{0, 0},
      lastPrefix(),
      cmpOriented{false, false},
      cmpDirection{undirected, undirected},
      comparedGraphs(1),
      incomingCount(0),
      outgoingCount(0),
      undirectedCount(0),
      unorientedCount(0),
      orientationStability(0.0f),
      orientationChanges(0) {}

// The prefix is default-constructed and then assigned rather than copy-constructed: weights are
// copied on every edge insertion, and the prefix's address-list buffer need not travel with it.
ASEdgeWeight::ASEdgeWeight(const ASEdgeWeight& other) : ASEdgeWeight() { *this = other; }

ASEdgeWeight& ASEdgeWeight::operator=(const ASEdgeWeight& other) {
  if (this == &other) return *this;
  oriented = other.oriented;
  for (int i = 0; i < 2; ++i) {
    pathCovering[i] = other.pathCovering[i];
    ipCovering[i] = other.ipCovering[i];
    cmpOriented[i] = other.cmpOriented[i];
    cmpDirection[i] = other.cmpDirection[i];
  }
  lastPrefix = other.lastPrefix;
  comparedGraphs = other.comparedGraphs;
  incomingCount = other.incomingCount;
  outgoingCount = other.outgoingCount;
  undirectedCount = other.undirectedCount;
  unorientedCount = other.unorientedCount;
  orientationStability = other.orientationStability;
  orientationChanges = other.orientationChanges;
  return *this;
}
