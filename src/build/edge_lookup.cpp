#include "build/edge_lookup.h"

EdgeLookup::EdgeLookup(ASGraph& graph, bool collapseRepeats)
    : graph_(graph), slots_(std::size_t(1) << kSlotBits), collapseRepeats_(collapseRepeats) {}

// Out of line, so that the remembered case stays small enough to be inlined where it is asked.
ASGraph::edge EdgeLookup::findInGraph(ASNumber from, ASNumber to, bool make) {
  const ASGraph::edge found = make ? graph_.ensureEdge(from, to) : graph_.storedEdge(from, to);
  if (found) {
    Slot& slot = slots_[slotOf(from, to)];
    slot.from = from;
    slot.to = to;
    slot.edge = found;
  }
  return found;
}
