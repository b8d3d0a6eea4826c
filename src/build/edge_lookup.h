// Finds and makes the edges graph construction updates, seen from the end a line names first.
// Every handler reaches the graph through here, so that how an edge is found stays in one place.
#pragma once

#include "asgraph/as_graph.h"

class EdgeLookup {
 public:
  explicit EdgeLookup(ASGraph& graph) : graph_(graph) {}
  EdgeLookup(const EdgeLookup&) = delete;
  EdgeLookup& operator=(const EdgeLookup&) = delete;

  ASGraph& graph() { return graph_; }

  // The edge between `from` and `to` seen from `from`, or a null handle when there is none.
  ASGraph::edge find(ASNumber from, ASNumber to) const { return graph_.storedEdge(from, to); }

  // The same, made undirected with default weights when there is none yet; a null handle when
  // either AS is not a node.
  ASGraph::edge findOrAdd(ASNumber from, ASNumber to) { return graph_.ensureEdge(from, to); }

 private:
  ASGraph& graph_;
};
