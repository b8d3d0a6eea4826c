// A graph that only grows: nodes with a value under a unique key, edges carrying a direction and
// one weight per way. The AS graph derives from it; graph construction and the graph file use it.
// Each edge is stored once, in one record holding both ways' weights, so a change made from
// either end is seen from the other. An edge is reached through a small handle, `edge`, that
// sees it from one end: its own way first, the opposite way second, the direction as seen from
// there. Nodes and edges live in pools released in bulk, so dropping a graph walks nothing.
#ifndef ZELGRIN_CONTAINERS_GRAPH_H
#define ZELGRIN_CONTAINERS_GRAPH_H

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "containers/bst.h"
#include "containers/edge_dir.h"
#include "containers/integer_key_index.h"
#include "containers/list.h"
#include "containers/pair_index.h"
#include "containers/pool.h"

template <class N, class W, class K>
class Graph {
 public:
  // A node as stored (internal; reached through edge::from and edge::to).
  struct node {
    N value{};
    K key{};
    std::uint32_t number = 0;  // its place in the node pool
  };

  // An edge as stored (internal). End 0 is the node with the smaller key; a self-loop has it
  // at both ends.
  struct EdgeRecord {
    W way[2];                                         // way[0] leads from end 0 to end 1
    EdgeDir direction[2] = {undirected, undirected};  // as seen from each end
    std::uint32_t end[2] = {0, 0};                    // node numbers
  };

  // A stored edge seen from one of its ends, `from`: what storedEdge hands out and forEachEdge
  // visits. A small value pointing into the graph, valid as long as the graph; two handles are
  // equal when they see the same edge from the same end.
  class edge {
   public:
    // A null handle, as storedEdge gives for a missing edge; nothing else may be asked of it.
    edge() = default;
    explicit operator bool() const { return record_ != nullptr; }
    bool operator==(const edge& other) const {
      return record_ == other.record_ && end_ == other.end_;
    }
    bool operator!=(const edge& other) const { return !(*this == other); }

    // The way from `from` toward `to`, and the opposite way; callers change them in place.
    W& weight() const { return record_->way[end_]; }
    W& reverseWeight() const { return record_->way[end_ ^ 1u]; }
    // The direction as seen from `from`.
    EdgeDir direction() const { return record_->direction[end_]; }
    // Sets the direction as seen from `from`; `to` sees the reverse.
    void setDirection(EdgeDir direction) const {
      record_->direction[end_] = direction;
      record_->direction[end_ ^ 1u] = reverse(direction);
    }
    const node& from() const { return graph_->nodes_[record_->end[end_]]; }
    const node& to() const { return graph_->nodes_[record_->end[end_ ^ 1u]]; }
    // True for an edge from a node to itself: its one end sees both of its ways.
    bool isLoop() const { return record_->end[0] == record_->end[1]; }
    // 0 for the first edge added, then 1, 2, ...: the same from both ends, never reused.
    std::uint32_t number() const { return number_; }

   private:
    friend class Graph;
    const Graph* graph_ = nullptr;
    EdgeRecord* record_ = nullptr;
    std::uint32_t number_ = 0;
    unsigned end_ = 0;
  };

  // Handed out by listNodes and listEdges; points into the graph. The caller deletes it.
  struct GraphNode {
    N* value;
    K key;
  };

  // Handed out by edgeProperties and listEdges; its pointers reach the edge as seen from
  // `from`. The caller deletes `from`, `to` and then the record. The weights are the edge's
  // own; `direction` is the one seen from `from`, which a write through it changes for this end
  // only (setDirection changes both).
  struct GraphEdge {
    W* weight;
    W* reverseWeight;
    EdgeDir* direction;
    GraphNode* from;
    GraphNode* to;
  };

  // An empty graph.
  Graph() = default;
  // Releases the pools; records already handed out stay with their callers.
  ~Graph() = default;
  Graph(const Graph&) = delete;
  Graph& operator=(const Graph&) = delete;

  // Adds a node and returns true; false and no change when the key is taken.
  bool addNode(const N& value, const K& key) {
    if (keys_.find(key) != kAbsent) return false;
    const std::uint32_t number = nodes_.size();
    node& n = nodes_.add();
    n.value = value;
    n.key = key;
    n.number = number;
    keys_.add(key, number);
    return true;
  }

  // Adds or updates the edge between the nodes keyed `from` and `to`. Returns 0 when either node
  // is missing (no change), 1 when the edge existed and is kept as it was, 2 when it was
  // overwritten (same direction: kept; opposite or undirected: undirected; from undirected: the
  // new direction), 3 when the edge was created. Weights and direction are seen from `from`.
  int addEdge(const K& from, const K& to, const EdgeDir& direction, const W& weight,
              const W& reverseWeight) {
    const std::uint32_t a = keys_.find(from);
    const std::uint32_t b = keys_.find(to);
    if (a == kAbsent || b == kAbsent) return 0;
    const PairIndex::Probe probe = findEdge(a, b);
    if (probe.number == kAbsent) {
      const edge e = createEdge(probe, a, b);
      e.weight() = weight;
      e.reverseWeight() = reverseWeight;
      e.setDirection(direction);
      return 3;
    }
    const edge e = handle(probe.number, a);
    const EdgeDir stored = e.direction();
    EdgeDir newDirection;
    if (direction == undirected) {
      if (stored == undirected) return 1;
      newDirection = undirected;
    } else if (stored == undirected) {
      newDirection = direction;
    } else if (stored == direction) {
      return 1;
    } else {
      newDirection = undirected;
    }
    // A caller may pass weights it reads from this very edge: copy them before either is written.
    const W w = weight;
    const W wr = reverseWeight;
    e.weight() = w;
    e.reverseWeight() = wr;
    e.setDirection(newDirection);
    return 2;
  }

  // The edge between the nodes keyed `from` and `to`, seen from `from`; made undirected with
  // default weights when there is none. A null handle when either node is missing.
  edge ensureEdge(const K& from, const K& to) {
    const std::uint32_t a = keys_.find(from);
    const std::uint32_t b = keys_.find(to);
    if (a == kAbsent || b == kAbsent) return edge();
    const PairIndex::Probe probe = findEdge(a, b);
    return probe.number == kAbsent ? createEdge(probe, a, b) : handle(probe.number, a);
  }

  // The edge between the nodes keyed `from` and `to`, seen from `from`, or a null handle when
  // there is none. Allocates nothing.
  edge storedEdge(const K& from, const K& to) const {
    const std::uint32_t a = keys_.find(from);
    const std::uint32_t b = keys_.find(to);
    if (a == kAbsent || b == kAbsent) return edge();
    const PairIndex::Probe probe = findEdge(a, b);
    return probe.number == kAbsent ? edge() : handle(probe.number, a);
  }

  // Loading ahead: a search for the edge between `from` and `to` reads an index slot and then
  // the edge. Asking for the slot, and a while later (once it has come) for the edge, lets a
  // caller that knows its next searches have memory fetch them while it works on others.
  void prefetchEdgeSlot(const K& from, const K& to) const {
    const std::uint32_t a = keys_.find(from);
    const std::uint32_t b = keys_.find(to);
    if (a != kAbsent && b != kAbsent) prefetch(edgeIndex_.firstSlot(a, b));
  }
  void prefetchEdgeRecord(const K& from, const K& to) const {
    const std::uint32_t a = keys_.find(from);
    const std::uint32_t b = keys_.find(to);
    if (a == kAbsent || b == kAbsent) return;
    const std::uint32_t number = edgeIndex_.likelyItem(a, b);
    if (number != kAbsent) prefetch(&edges_[number]);
  }
  // The ways of a found edge, for a change soon after.
  static void prefetchWays(const edge& e) { prefetch(&e.reverseWeight(), true); }

  // The same edge seen from its other end (the handle itself for a self-loop).
  static edge otherCopy(const edge& seen) {
    edge other = seen;
    if (!seen.isLoop()) other.end_ = seen.end_ ^ 1u;
    return other;
  }

  // A new record for the edge as seen from node `from` toward node `to`, or null when there is
  // none.
  GraphEdge* edgeProperties(const K& from, const K& to) {
    const edge e = storedEdge(from, to);
    return e ? makeRecord(e) : nullptr;
  }

  // The number of nodes.
  std::uint32_t nodes() const { return nodes_.size(); }

  // The number of edges, each counted once.
  std::uint32_t edges() const { return edges_.size(); }

  // The graph's own list, refilled with one new record per node in ascending key order. Records
  // of an earlier call are dropped from the list, not deleted.
  List<GraphNode*>& listNodes() {
    nodeRecords = List<GraphNode*>();
    keys_.forEachInKeyOrder([this](std::uint32_t number) {
      node& n = nodes_[number];
      nodeRecords.enqueue(new GraphNode{&n.value, n.key});
    });
    return nodeRecords;
  }

  // The graph's own list, refilled with one new record per edge, seen from the endpoint with the
  // smaller key, ordered by that key and then by the other one.
  List<GraphEdge*>& listEdges() {
    edgeRecords = List<GraphEdge*>();
    forEachEdge([this](const edge& e) { edgeRecords.enqueue(makeRecord(e)); });
    return edgeRecords;
  }

  // Calls visit(value, key) for every node in ascending key order. Allocates nothing for keys
  // below 65536.
  template <typename Visit>
  void forEachNode(Visit visit) const {
    keys_.forEachInKeyOrder([this, &visit](std::uint32_t number) {
      const node& n = nodes_[number];
      visit(n.value, n.key);
    });
  }

  // Calls visit(edge) for every edge once, in the order of listEdges: seen from the endpoint with
  // the smaller key, by that key and then by the other one. The visitor may change weights and
  // directions, but no edge or node may be added meanwhile. Puts the edges in order at the call:
  // allocates 12 bytes per edge and 12 per node while it runs.
  template <typename Visit>
  void forEachEdge(Visit visit) const {
    const std::vector<std::uint32_t> order = edgesInKeyOrder();
    // The edges lie in the order they were added, so reading them in key order misses the
    // cache nearly every time: ask for each a few edges before it is needed.
    const std::size_t kAhead = 16;
    for (std::size_t i = 0; i < order.size(); ++i) {
      if (i + kAhead < order.size()) prefetch(&edges_[order[i + kAhead]]);
      const edge e = handle(order[i], edges_[order[i]].end[0]);
      visit(e);
    }
  }

 protected:
  List<GraphNode*> nodeRecords;
  List<GraphEdge*> edgeRecords;

 private:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

  // Integer keys (AS numbers) are found through IntegerKeyIndex; any other key type through a
  // search tree, which needs only `==` and `>`.
  class TreeKeyIndex {
   public:
    std::uint32_t find(const K& key) const {
      const std::uint32_t* number = tree_.findItem(key);
      return number != nullptr ? *number : kAbsent;
    }
    void add(const K& key, std::uint32_t number) { tree_.addItem(number, key); }
    template <typename Visit>
    void forEachInKeyOrder(Visit visit) const {
      tree_.forEach([&visit](std::uint32_t number) { visit(number); });
    }

   private:
    BST<std::uint32_t, K> tree_;
  };
  static constexpr bool kIntegerKeys = std::is_integral<K>::value && !std::is_same<K, bool>::value;
  using KeyIndex = typename std::conditional<kIntegerKeys, IntegerKeyIndex<K>, TreeKeyIndex>::type;

  // The search for the edge between node numbers a and b.
  PairIndex::Probe findEdge(std::uint32_t a, std::uint32_t b) const {
    return edgeIndex_.find(a, b, [this, a, b](std::uint32_t number) {
      const EdgeRecord& r = edges_[number];
      return (r.end[0] == a && r.end[1] == b) || (r.end[0] == b && r.end[1] == a);
    });
  }

  // The edge numbered `number` seen from its end at node number a.
  edge handle(std::uint32_t number, std::uint32_t a) const {
    edge e;
    e.graph_ = this;
    e.record_ = &const_cast<Graph*>(this)->edges_[number];
    e.number_ = number;
    e.end_ = e.record_->end[0] == a ? 0u : 1u;
    return e;
  }

  // A new undirected edge with default weights between node numbers a and b, where `probe`
  // found none; seen from a.
  edge createEdge(const PairIndex::Probe& probe, std::uint32_t a, std::uint32_t b) {
    const std::uint32_t number = edges_.size();
    EdgeRecord& r = edges_.add();
    const bool aIsLarger = nodes_[a].key > nodes_[b].key;
    r.end[0] = aIsLarger ? b : a;
    r.end[1] = aIsLarger ? a : b;
    edgeIndex_.add(probe, number, [this](std::uint32_t n) {
      return std::make_pair(edges_[n].end[0], edges_[n].end[1]);
    });
    return handle(number, a);
  }

  // The edge numbers ordered by the key of their end 0 and then of their end 1: sorted by the
  // rank of end 1 and then, keeping that order, by the rank of end 0, each time by counting, so
  // that the cost grows with the number of edges however they gather at a few nodes.
  std::vector<std::uint32_t> edgesInKeyOrder() const {
    const std::uint32_t nodeCount = nodes_.size();
    const std::uint32_t edgeCount = edges_.size();
    std::vector<std::uint32_t> rank(nodeCount);
    std::uint32_t ranked = 0;
    keys_.forEachInKeyOrder([&rank, &ranked](std::uint32_t number) { rank[number] = ranked++; });
    // Where each rank's edges start, by end 1 and by end 0.
    std::vector<std::uint32_t> startBy1(nodeCount + 1, 0);
    std::vector<std::uint32_t> startBy0(nodeCount + 1, 0);
    for (std::uint32_t e = 0; e < edgeCount; ++e) {
      ++startBy1[rank[edges_[e].end[1]] + 1];
      ++startBy0[rank[edges_[e].end[0]] + 1];
    }
    for (std::uint32_t r = 0; r < nodeCount; ++r) {
      startBy1[r + 1] += startBy1[r];
      startBy0[r + 1] += startBy0[r];
    }
    // By end 1, each entry carrying the rank of end 0 for the second pass.
    std::vector<std::uint64_t> byEnd1(edgeCount);
    for (std::uint32_t e = 0; e < edgeCount; ++e) {
      const EdgeRecord& r = edges_[e];
      byEnd1[startBy1[rank[r.end[1]]]++] = (static_cast<std::uint64_t>(rank[r.end[0]]) << 32) | e;
    }
    std::vector<std::uint32_t> order(edgeCount);
    for (std::uint64_t entry : byEnd1) {
      order[startBy0[entry >> 32]++] = static_cast<std::uint32_t>(entry);
    }
    return order;
  }

  static void prefetch(const void* address, bool forWrite = false) {
#if defined(__GNUC__)
    if (forWrite) {
      __builtin_prefetch(address, 1);
    } else {
      __builtin_prefetch(address);
    }
    // A function that only loads ahead looks to the compiler like one without effect, and it
    // drops the calls; this keeps them.
    __asm__ volatile("" : : "r"(address));
#else
    (void)address;
    (void)forWrite;
#endif
  }

  GraphEdge* makeRecord(const edge& e) {
    node& a = nodes_[e.record_->end[e.end_]];
    node& b = nodes_[e.record_->end[e.end_ ^ 1u]];
    GraphNode* from = new GraphNode{&a.value, a.key};
    GraphNode* to = new GraphNode{&b.value, b.key};
    return new GraphEdge{&e.weight(), &e.reverseWeight(), &e.record_->direction[e.end_], from, to};
  }

  Pool<node> nodes_;
  Pool<EdgeRecord> edges_;
  KeyIndex keys_;
  PairIndex edgeIndex_;
};

#endif  // ZELGRIN_CONTAINERS_GRAPH_H
