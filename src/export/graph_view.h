// The part of a graph that an export covers: the whole graph, or a chosen set of ASes (the
// neighbourhood of one AS) with the edges among them. Every writer walks the graph through it.
#ifndef ZELGRIN_EXPORT_GRAPH_VIEW_H
#define ZELGRIN_EXPORT_GRAPH_VIEW_H

#include <algorithm>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "export/edge_attributes.h"

class GraphView {
 public:
  // The whole graph.
  explicit GraphView(ASGraph& graph) : graph_(graph) {}

  // Narrows the view to the ASes of `kept` around `centre`, found within `depth` hops.
  // REQUIRES: kept is ascending and holds centre.
  void focus(ASNumber centre, unsigned depth, std::vector<ASNumber> kept) {
    focused_ = true;
    centre_ = centre;
    depth_ = depth;
    kept_ = std::move(kept);
  }

  ASGraph& graph() const { return graph_; }
  bool focused() const { return focused_; }
  ASNumber centre() const { return centre_; }
  unsigned depth() const { return depth_; }

  // True when the AS is a node of the graph within the view.
  bool contains(ASNumber as) const {
    return !focused_ || std::binary_search(kept_.begin(), kept_.end(), as);
  }

  // Calls visit(as) for every AS in the view, ascending.
  template <typename Visit>
  void forEachNode(Visit visit) const {
    if (focused_) {
      for (ASNumber as : kept_) visit(as);
    } else {
      graph_.forEachNode([&visit](const ASNumber&, const ASNumber& as) { visit(as); });
    }
  }

  // Calls visit(fields) for every edge in the view once, in the graph file's order and seen
  // from its first AS, as ASGraph::forEachEdge walks them.
  template <typename Visit>
  void forEachEdge(Visit visit) const {
    graph_.forEachEdge([this, &visit](const ASGraph::edge& copy) {
      if (focused_ && !(contains(copy.from().key) && contains(copy.to().key))) return;
      visit(EdgeFields::of(graph_, copy));
    });
  }

  // As forEachEdge, each edge seen as an arc from customer to provider (arcOf).
  template <typename Visit>
  void forEachArc(Visit visit) const {
    forEachEdge([&visit](const EdgeFields& copy) { visit(arcOf(copy)); });
  }

 private:
  ASGraph& graph_;
  bool focused_ = false;
  ASNumber centre_ = 0;
  unsigned depth_ = 0;
  std::vector<ASNumber> kept_;
};

#endif  // ZELGRIN_EXPORT_GRAPH_VIEW_H
