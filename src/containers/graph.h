// A graph that only grows: nodes with a value under a unique key, edges carrying a direction and
// one weight per way. The AS graph derives from it; graph construction and the graph file use it.
// Each edge is stored twice, once in the edge tree of each endpoint (a self-loop once), so it can
// be found and changed from either end; each copy holds direction and weights seen from its end.
#ifndef ZELGRIN_CONTAINERS_GRAPH_H
#define ZELGRIN_CONTAINERS_GRAPH_H

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "asgraph/edge_dir.h"
#include "containers/bst.h"
#include "containers/list.h"

template <class N, class W, class K>
class Graph {
 public:
  struct edge;

  // A node as stored (internal).
  struct node {
    N value;
    K key;
    BST<edge*, K> edgeTree;  // copies starting here, keyed by the key of their other end
    node() : value(), key(), edgeTree() {}
  };

  // One stored copy of an edge, seen from `from` toward `to` (internal; see storedEdge).
  struct edge {
    W weight;         // the way from `from` toward `to`
    W reverseWeight;  // the opposite way
    edge_dir direction;
    node* from;
    node* to;
    edge* twin;  // the copy at the other end; the copy itself for a self-loop
    edge()
        : weight(), reverseWeight(), direction(undirected), from(nullptr), to(nullptr),
          twin(nullptr) {}
  };

  // Handed out by listNodes and listEdges; points into the graph. The caller deletes it.
  struct graph_node {
    N* value;
    K key;
  };

  // Handed out by edgeProperties and listEdges; its pointers reach one stored copy. The caller
  // deletes `from`, `to` and then the record.
  struct graph_edge {
    W* weight;
    W* reverseWeight;
    edge_dir* direction;
    graph_node* from;
    graph_node* to;
  };

  // An empty graph.
  Graph() : nodeCount(0), edgeCount(0), directNodes(nullptr) {
    if constexpr (kDirect) directNodes = new node*[kDirectSize]();
  }

  // Frees every node and edge copy; records already handed out stay with their callers.
  ~Graph() {
    nodeTree.forEach([](node* n) {
      n->edgeTree.forEach([](edge* e) { delete e; });
      delete n;
    });
    delete[] directNodes;
  }

  // Nodes and edges are owned through raw pointers; a member-wise copy would free them twice.
  Graph(const Graph&) = delete;
  Graph& operator=(const Graph&) = delete;

  // Adds a node and returns true; false and no change when the key is taken.
  bool addNode(const N& value, const K& key) {
    if (findNode(key) != nullptr) return false;
    node* n = new node();
    n->value = value;
    n->key = key;
    nodeTree.addItem(n, key);
    if constexpr (kDirect) {
      const std::size_t index = directIndex(key);
      if (index < kDirectSize) {
        directNodes[index] = n;
      } else {
        wideNodes.add(key, n);
      }
    }
    ++nodeCount;
    return true;
  }

  // Adds or updates the edge between the nodes keyed `from` and `to`. Returns 0 when either node
  // is missing (no change), 1 when the edge existed and is kept as it was, 2 when both copies were
  // overwritten (same direction: kept; opposite or undirected: undirected; from undirected: the
  // new direction), 3 when the edge was created.
  int addEdge(const K& from, const K& to, const edge_dir& direction, const W& weight,
              const W& reverseWeight) {
    node* a = findNode(from);
    node* b = findNode(to);
    if (a == nullptr || b == nullptr) return 0;
    edge** found = a->edgeTree.findItem(to);
    if (found == nullptr) {
      ++edgeCount;
      edge* f = new edge();
      f->weight = weight;
      f->reverseWeight = reverseWeight;
      f->direction = direction;
      f->from = a;
      f->to = b;
      f->twin = f;
      a->edgeTree.addItem(f, to);
      if (from == to) return 3;
      edge* r = new edge();
      r->weight = reverseWeight;
      r->reverseWeight = weight;
      r->direction = reverse(direction);
      r->from = b;
      r->to = a;
      f->twin = r;
      r->twin = f;
      b->edgeTree.addItem(r, from);
      return 3;
    }
    edge* f = *found;
    edge* r = f->twin;
    edge_dir newDirection;
    if (direction == undirected) {
      if (f->direction == undirected) return 1;
      newDirection = undirected;
    } else if (f->direction == undirected) {
      newDirection = direction;
    } else if (f->direction == direction) {
      return 1;
    } else {
      newDirection = undirected;
    }
    // A caller may pass weights it reads from this very edge; work from copies then, or the first
    // write would change what the second one stores.
    if (aliases(&weight, f, r) || aliases(&reverseWeight, f, r)) {
      W w = weight;
      W wr = reverseWeight;
      overwrite(f, r, newDirection, w, wr);
    } else {
      overwrite(f, r, newDirection, weight, reverseWeight);
    }
    return 2;
  }

  // A new record for the copy held by node `from` toward node `to`, or null when there is none.
  graph_edge* edgeProperties(const K& from, const K& to) {
    edge* f = storedEdge(from, to);
    if (f == nullptr) return nullptr;
    return makeRecord(f);
  }

  // The copy held by node `from` toward node `to`, written in place by hot callers, or null when
  // there is none. Allocates nothing. Valid until the graph is next changed structurally (copies
  // are in fact never moved or freed before the graph goes).
  edge* storedEdge(const K& from, const K& to) {
    node* a = findNode(from);
    if (a == nullptr) return nullptr;
    edge** f = a->edgeTree.findItem(to);
    return f != nullptr ? *f : nullptr;
  }
  const edge* storedEdge(const K& from, const K& to) const {
    return const_cast<Graph*>(this)->storedEdge(from, to);
  }

  // The copy of the same edge held at the other end (the copy itself for a self-loop), without
  // a search. REQUIRES: `copy` came from storedEdge of this graph.
  static edge* otherCopy(edge* copy) { return copy->twin; }

  // The number of nodes.
  std::uint32_t nodes() const { return nodeCount; }

  // The number of edges, each counted once.
  std::uint32_t edges() const { return edgeCount; }

  // The graph's own list, refilled with one new record per node in ascending key order. Records
  // of an earlier call are dropped from the list, not deleted.
  List<graph_node*>& listNodes() {
    nodeRecords = List<graph_node*>();
    List<node*>& all = nodeTree.listItems();
    bool more = !all.isEmpty();
    all.goToFirst();
    while (more) {
      node* n = all.current();
      nodeRecords.enqueue(new graph_node{&n->value, n->key});
      more = all.next();
    }
    return nodeRecords;
  }

  // The graph's own list, refilled with one new record per edge, through the copy held by the
  // endpoint with the smaller key, ordered by that key and then by the other one.
  List<graph_edge*>& listEdges() {
    edgeRecords = List<graph_edge*>();
    forEachEdge([this](const edge& e) { edgeRecords.enqueue(makeRecord(const_cast<edge*>(&e))); });
    return edgeRecords;
  }

  // Calls visit(value, key) for every node in ascending key order. Allocates nothing.
  template <typename Visit>
  void forEachNode(Visit visit) const {
    nodeTree.forEach([&visit](const node* n) { visit(n->value, n->key); });
  }

  // Calls visit(copy) for every edge once, in the order of listEdges: through the copy held by
  // the endpoint with the smaller key, by that key and then by the other one. The copy's `from`
  // and `to` give both ends; its weights and direction are seen from `from`. Allocates nothing.
  template <typename Visit>
  void forEachEdge(Visit visit) const {
    nodeTree.forEach([&visit](const node* n) {
      // Keys are unique, so the copy at the smaller end is the one whose other end is not
      // smaller; a self-loop has a single copy.
      n->edgeTree.forEach([&visit, n](const edge* e) {
        if (!(n->key > e->to->key)) visit(*e);
      });
    });
  }

 protected:
  std::uint32_t nodeCount;
  std::uint32_t edgeCount;
  BST<node*, K> nodeTree;
  List<graph_node*> nodeRecords;
  List<graph_edge*> edgeRecords;

 private:
  // Integer keys below 65536 also index a table of every such key, so that finding a node costs
  // one array read instead of a walk down the node tree: graph construction finds nodes
  // millions of times, and AS numbers mostly fit 16 bits. Larger integer keys are found in an
  // open-addressing hash index, about as fast. The node tree stays the owner and gives the key
  // order.
  static constexpr bool kDirect = std::is_integral<K>::value && !std::is_same<K, bool>::value;
  static constexpr std::size_t kDirectSize =
      kDirect ? (sizeof(K) == 1 ? std::size_t(256) : std::size_t(65536)) : 1;

  // The key's slot in the direct table, or kDirectSize when it has none.
  static std::size_t directIndex(const K& key) {
    if constexpr (std::is_signed<K>::value) {
      if (key < 0) return kDirectSize;
    }
    const auto index = static_cast<typename std::make_unsigned<K>::type>(key);
    return index < kDirectSize ? static_cast<std::size_t>(index) : kDirectSize;
  }

  node* findNode(const K& key) {
    if constexpr (kDirect) {
      const std::size_t index = directIndex(key);
      if (index < kDirectSize) return directNodes[index];
      return wideNodes.find(key);
    } else {
      node** n = nodeTree.findItem(key);
      return n != nullptr ? *n : nullptr;
    }
  }

  // Nodes under integer keys beyond the direct table: linear probing in a power-of-two table
  // kept at most half full, so a lookup mostly reads one slot.
  class WideIndex {
   public:
    node* find(const K& key) const {
      if (slots_.empty()) return nullptr;
      for (std::size_t i = slotOf(key);; i = (i + 1) & (slots_.size() - 1)) {
        const Slot& slot = slots_[i];
        if (slot.n == nullptr) return nullptr;
        if (slot.key == key) return slot.n;
      }
    }
    // REQUIRES: key not present.
    void add(const K& key, node* n) {
      if (2 * (count_ + 1) > slots_.size()) grow();
      place(key, n);
      ++count_;
    }

   private:
    struct Slot {
      K key{};
      node* n = nullptr;
    };
    std::size_t slotOf(const K& key) const {
      const auto bits = static_cast<unsigned long long>(key);
      return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
    }
    void place(const K& key, node* n) {
      std::size_t i = slotOf(key);
      while (slots_[i].n != nullptr) i = (i + 1) & (slots_.size() - 1);
      slots_[i].key = key;
      slots_[i].n = n;
    }
    void grow() {
      std::vector<Slot> old(slots_.empty() ? 64 : 2 * slots_.size());
      old.swap(slots_);
      for (const Slot& slot : old) {
        if (slot.n != nullptr) place(slot.key, slot.n);
      }
    }
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
  };
  WideIndex wideNodes;

  node** directNodes;  // kDirect only: the node under each key, or null

  static graph_edge* makeRecord(edge* e) {
    graph_node* from = new graph_node{&e->from->value, e->from->key};
    graph_node* to = new graph_node{&e->to->value, e->to->key};
    return new graph_edge{&e->weight, &e->reverseWeight, &e->direction, from, to};
  }

  static bool aliases(const W* w, const edge* f, const edge* r) {
    return w == &f->weight || w == &f->reverseWeight || w == &r->weight || w == &r->reverseWeight;
  }

  // The far copy first, so that for a self-loop (f == r) the near copy's values are the ones kept.
  static void overwrite(edge* f, edge* r, edge_dir x, const W& w, const W& wr) {
    r->weight = wr;
    r->reverseWeight = w;
    r->direction = reverse(x);
    f->weight = w;
    f->reverseWeight = wr;
    f->direction = x;
  }
};

#endif  // ZELGRIN_CONTAINERS_GRAPH_H
