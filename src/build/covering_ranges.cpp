#include "build/covering_ranges.h"

#include "build/ip_covering.h"

void copyForCovering(const ASGraph& graph, ASGraph& copy, bool exact) {
  graph.forEachNode(
      [&copy](const ASNumber& value, const ASNumber& key) { copy.addNode(value, key); });
  graph.forEachEdge([&copy](const ASGraph::edge& e) { copy.ensureEdge(e.from().key, e.to().key); });
  if (exact) startExactCovering(copy);
}

bool holdsIPCovering(const ASGraph& graph) {
  bool holds = false;
  graph.forEachEdge([&holds](const ASGraph::edge& e) {
    holds = holds || e.weight().ipCovering != 0 || e.reverseWeight().ipCovering != 0;
  });
  return holds;
}

namespace {

// True when the merge credited the way: an exact count then holds a run, and a classic one,
// which adds at least one address a prefix, a count.
bool credited(const ASEdgeWeight& way, bool exact) {
  return exact ? way.lastPrefix.first <= way.lastPrefix.last : way.ipCovering != 0;
}

void addWay(ASEdgeWeight& way, const ASEdgeWeight& other, bool exact) {
  // Ranges do not overlap, so the prefix of the higher range is the one that starts higher.
  if (credited(other, exact) &&
      (!credited(way, exact) || other.lastPrefix.first > way.lastPrefix.first)) {
    way.lastPrefix = other.lastPrefix;
  }
  way.ipCovering += other.ipCovering;
}

}  // namespace

void addRangesCovering(ASGraph& graph, const ASGraph& other, bool exact) {
  other.forEachEdge([&graph, exact](const ASGraph::edge& e) {
    const ASGraph::edge same = graph.storedEdge(e.from().key, e.to().key);
    addWay(same.weight(), e.weight(), exact);
    addWay(same.reverseWeight(), e.reverseWeight(), exact);
  });
}

void clearIPCovering(ASGraph& graph, bool exact) {
  graph.forEachEdge([](const ASGraph::edge& e) {
    for (ASEdgeWeight* way : {&e.weight(), &e.reverseWeight()}) {
      way->ipCovering = 0;
      way->lastPrefix = RememberedPrefix{};
    }
  });
  if (exact) startExactCovering(graph);
}
