// Finds and makes the edges graph construction updates, seen from the AS a line names first,
// remembering recent finds. Input lines repeat the same pairs over and over (the ASes near a
// vantage point, an origin's prepending): some 95 in 100 pairs of a path list were among the
// last few thousand found, so a small table that stays in the processor's cache answers most
// of them without reaching the graph's index or its nodes.
#ifndef ZELGRIN_BUILD_EDGE_LOOKUP_H
#define ZELGRIN_BUILD_EDGE_LOOKUP_H

#include <cstdint>
#include <vector>

#include "asgraph/as_graph.h"

class EdgeLookup {
 public:
  // With `collapseRepeats`, an AS repeated in a path (prepending) takes no hop to itself.
  explicit EdgeLookup(ASGraph& graph, bool collapseRepeats = false);
  EdgeLookup(const EdgeLookup&) = delete;
  EdgeLookup& operator=(const EdgeLookup&) = delete;

  ASGraph& graph() { return graph_; }
  bool collapsesRepeats() const { return collapseRepeats_; }

  // True when the ASes `previous` and `next`, next to each other in a path, make a hop that
  // reaches the graph: always, but for an AS after itself when repeats are collapsed. The one
  // rule every reader of paths follows, for edges and covering alike.
  bool isHop(ASNumber previous, ASNumber next) const {
    return !(collapseRepeats_ && previous == next);
  }

  // Whether the record being handled reached an edge of the graph (oriented one, or gave it
  // covering), for a report of how many records named no edge: handlers note it, the reading
  // takes it after each record.
  void noteReached() { reached_ = true; }
  bool takeReached() {
    const bool reached = reached_;
    reached_ = false;
    return reached;
  }

  // The edge from `from` to `to` when it was found lately, else a null handle. A remembered edge
  // exists, and so do its nodes.
  ASGraph::edge recent(ASNumber from, ASNumber to) const {
    const Slot& slot = slots_[slotOf(from, to)];
    return slot.from == from && slot.to == to ? slot.edge : ASGraph::edge();
  }

  // The edge between `from` and `to` seen from `from`, or a null handle when there is none.
  ASGraph::edge find(ASNumber from, ASNumber to) {
    const ASGraph::edge e = recent(from, to);
    return e ? e : findInGraph(from, to, false);
  }

  // The same, made undirected with default weights when there is none yet; a null handle when
  // either AS is not a node.
  ASGraph::edge findOrAdd(ASNumber from, ASNumber to) {
    const ASGraph::edge e = recent(from, to);
    return e ? e : findInGraph(from, to, true);
  }

  // Loading ahead for a find of the same edge soon after: first its index slot, then, once
  // that has come, the edge itself (see Graph::prefetchEdgeSlot). Nothing when it was found
  // lately; prefetchSlot tells whether it was not.
  bool prefetchSlot(ASNumber from, ASNumber to) const {
    if (recent(from, to)) return false;
    graph_.prefetchEdgeSlot(from, to);
    return true;
  }
  void prefetchEdge(ASNumber from, ASNumber to) const {
    if (!recent(from, to)) graph_.prefetchEdgeRecord(from, to);
  }

 private:
  // Edges never move nor go, so a remembered handle stays good; only edges that exist are kept
  // (an empty slot holds a null handle).
  struct Slot {
    ASNumber from = 0;
    ASNumber to = 0;
    ASGraph::edge edge;
  };
  // 4096 slots of 32 bytes: 128 KB, which the processor's second-level cache holds.
  static constexpr int kSlotBits = 12;

  static std::size_t slotOf(ASNumber from, ASNumber to) {
    const std::uint64_t key = (static_cast<std::uint64_t>(from) << 32) | to;
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits));
  }

  // Asks the graph, making the edge when `make`, and remembers what it found.
  ASGraph::edge findInGraph(ASNumber from, ASNumber to, bool make);

  ASGraph& graph_;
  std::vector<Slot> slots_;
  bool collapseRepeats_;
  bool reached_ = false;
};

#endif  // ZELGRIN_BUILD_EDGE_LOOKUP_H
