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
  upper.forEachEdge([&graph, exact](const ASGraph::edge& e) {
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
