// Finds the stored edge copies that graph construction updates, remembering recent finds: the
// same few thousand edges near the core of the AS graph are looked up on nearly every input
// line, and a remembered copy costs one probe instead of a walk down an edge tree.
#pragma once

#include <cstdint>

#include "asgraph/as_graph.h"

class EdgeLookup {
 public:
  explicit EdgeLookup(ASGraph& graph) : graph_(graph), slots_(new Slot[slotCount]()) {}
  ~EdgeLookup() { delete[] slots_; }
  EdgeLookup(const EdgeLookup&) = delete;
  EdgeLookup& operator=(const EdgeLookup&) = delete;

  ASGraph& graph() { return graph_; }

  // The copy held by `from` toward `to`, or null when there is no such edge. Only copies that
  // exist are remembered, and the graph never moves or frees one, so nothing goes stale.
  ASGraph::edge* find(ASNumber from, ASNumber to) {
    static_assert(sizeof(ASNumber) <= 4, "two AS numbers make one 64-bit key");
    const std::uint64_t key = (static_cast<std::uint64_t>(from) << 32) | to;
    Slot& slot = slots_[(key * 0x9E3779B97F4A7C15ull) >> (64 - slotBits)];
    if (slot.copy != nullptr && slot.key == key) return slot.copy;
    ASGraph::edge* copy = graph_.storedEdge(from, to);
    if (copy != nullptr) {
      slot.key = key;
      slot.copy = copy;
    }
    return copy;
  }

 private:
  struct Slot {
    std::uint64_t key;
    ASGraph::edge* copy;
  };
  static constexpr int slotBits = 16;
  static constexpr std::uint32_t slotCount = 1u << slotBits;

  ASGraph& graph_;
  Slot* slots_;
};
