#include "build/covering_halves.h"

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

void addWay(ASEdgeWeight& way, const ASEdgeWeight& upper, bool exact) {
  way.ipCovering += upper.ipCovering;
  const bool credited =
      exact ? upper.lastPrefix.first <= upper.lastPrefix.last : upper.ipCovering != 0;
  if (credited) way.lastPrefix = upper.lastPrefix;
}

}  // namespace

void addUpperCovering(ASGraph& graph, const ASGraph& upper, bool exact) {
  // Both graphs hold the same edges, and forEachEdge visits them in the same order, each seen
  // from the same end.
  std::vector<ASEdgeWeight> ways;
  upper.forEachEdge([&ways](const ASGraph::edge& e) {
    ways.push_back(e.weight());
    ways.push_back(e.reverseWeight());
  });
  std::size_t i = 0;
  graph.forEachEdge([&](const ASGraph::edge& e) {
    addWay(e.weight(), ways[i++], exact);
    addWay(e.reverseWeight(), ways[i++], exact);
  });
}

CoveringSnapshot::CoveringSnapshot(const ASGraph& graph) {
  graph.forEachEdge([this](const ASGraph::edge& e) {
    ways_.push_back(e.weight());
    ways_.push_back(e.reverseWeight());
  });
}

void CoveringSnapshot::restore(ASGraph& graph) const {
  std::size_t i = 0;
  graph.forEachEdge([&](const ASGraph::edge& e) {
    e.weight() = ways_[i++];
    e.reverseWeight() = ways_[i++];
  });
}
