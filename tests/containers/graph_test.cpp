#include "containers/graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// A weight that owns heap memory, so a leaked or doubly freed copy shows in the sanitizer build.
struct Tag {
  std::string name;
  Tag() : name("default-weight-that-does-not-fit-in-place") {}
  explicit Tag(const char* n) : name(std::string(n) + "-weight-that-does-not-fit-in-place") {}
  std::string shortName() const { return name.substr(0, name.find('-')); }
};

using G = Graph<int, Tag, int>;
using W = Tag;

const Tag A("A"), B("B"), C("C"), D("D");

// direction weight/reverseWeight of the copy at `from`, e.g. "forward A/B", or "none".
std::string seen(G& g, int from, int to) {
  G::GraphEdge* e = g.edgeProperties(from, to);
  if (e == nullptr) return "none";
  static const char* names[] = {"undirected", "backward", "forward"};
  std::string out = std::string(names[*e->direction]) + " " + e->weight->shortName() + "/" +
                    e->reverseWeight->shortName();
  EXPECT_EQ(e->from->key, from);
  EXPECT_EQ(e->to->key, to);
  delete e->from;
  delete e->to;
  delete e;
  return out;
}

// Keys of the records of listEdges as "(from,to)" pairs; deletes the records.
std::string listedEdges(G& g) {
  std::string out;
  List<G::GraphEdge*>& l = g.listEdges();
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    G::GraphEdge* e = l.current();
    out += "(" + std::to_string(e->from->key) + "," + std::to_string(e->to->key) + ")";
    delete e->from;
    delete e->to;
    delete e;
    more = l.next();
  }
  return out;
}

void addNodes(G& g, std::initializer_list<int> keys) {
  for (int k : keys) ASSERT_TRUE(g.addNode(k * 100, k));
}

TEST(Graph, AddNodeRefusesATakenKey) {
  G g;
  EXPECT_TRUE(g.addNode(7, 7));
  EXPECT_FALSE(g.addNode(8, 7));
  EXPECT_EQ(g.nodes(), 1u);
  List<G::GraphNode*>& l = g.listNodes();
  ASSERT_EQ(l.len(), 1u);
  EXPECT_EQ(*l.first()->value, 7);  // the first value stays
  delete l.first();
}

TEST(Graph, AddEdgeWithMissingEndpointChangesNothing) {
  G g;
  addNodes(g, {1, 2});
  EXPECT_EQ(g.addEdge(1, 9, forward, A, B), 0);
  EXPECT_EQ(g.addEdge(9, 1, forward, A, B), 0);
  EXPECT_EQ(g.addEdge(8, 9, forward, A, B), 0);
  EXPECT_EQ(g.addEdge(9, 9, forward, A, B), 0);
  EXPECT_EQ(g.edges(), 0u);
  EXPECT_EQ(seen(g, 1, 9), "none");
  EXPECT_EQ(listedEdges(g), "");
}

TEST(Graph, NewEdgeIsStoredAtBothEndsWithWeightsSwappedAndDirectionReversed) {
  struct Case {
    EdgeDir direction;
    const char* at12;
    const char* at21;
  };
  const Case cases[] = {
      {forward, "forward A/B", "backward B/A"},
      {backward, "backward A/B", "forward B/A"},
      {undirected, "undirected A/B", "undirected B/A"},
  };
  for (const Case& c : cases) {
    G g;
    addNodes(g, {1, 2});
    EXPECT_EQ(g.addEdge(1, 2, c.direction, A, B), 3);
    EXPECT_EQ(g.edges(), 1u);
    EXPECT_EQ(seen(g, 1, 2), c.at12);
    EXPECT_EQ(seen(g, 2, 1), c.at21);
  }
}

TEST(Graph, AddEdgeOnExistingEdgeFollowsTheResultTable) {
  struct Case {
    EdgeDir stored;  // of the copy at 1, made by addEdge(1, 2, stored, A, B)
    int from, to;
    EdgeDir given;
    int result;
    const char* at12;
    const char* at21;
  };
  const Case cases[] = {
      {undirected, 1, 2, undirected, 1, "undirected A/B", "undirected B/A"},
      {forward, 1, 2, undirected, 2, "undirected C/D", "undirected D/C"},
      {backward, 2, 1, undirected, 2, "undirected D/C", "undirected C/D"},
      {undirected, 1, 2, forward, 2, "forward C/D", "backward D/C"},
      {undirected, 2, 1, forward, 2, "backward D/C", "forward C/D"},
      {undirected, 1, 2, backward, 2, "backward C/D", "forward D/C"},
      {forward, 1, 2, backward, 2, "undirected C/D", "undirected D/C"},
      {forward, 2, 1, forward, 2, "undirected D/C", "undirected C/D"},
      {backward, 1, 2, forward, 2, "undirected C/D", "undirected D/C"},
      {forward, 1, 2, forward, 1, "forward A/B", "backward B/A"},
      {forward, 2, 1, backward, 1, "forward A/B", "backward B/A"},
      {backward, 2, 1, forward, 1, "backward A/B", "forward B/A"},
  };
  for (const Case& c : cases) {
    G g;
    addNodes(g, {1, 2});
    ASSERT_EQ(g.addEdge(1, 2, c.stored, A, B), 3);
    EXPECT_EQ(g.addEdge(c.from, c.to, c.given, C, D), c.result)
        << c.stored << " then " << c.from << "->" << c.to << " " << c.given;
    EXPECT_EQ(seen(g, 1, 2), c.at12)
        << c.stored << " then " << c.from << "->" << c.to << " " << c.given;
    EXPECT_EQ(seen(g, 2, 1), c.at21)
        << c.stored << " then " << c.from << "->" << c.to << " " << c.given;
    EXPECT_EQ(g.edges(), 1u);
  }
}

TEST(Graph, SelfLoopIsOneCopyAndTheNearWriteWins) {
  G g;
  addNodes(g, {5, 6});
  EXPECT_EQ(g.addEdge(5, 5, forward, A, B), 3);
  EXPECT_EQ(g.edges(), 1u);
  EXPECT_EQ(seen(g, 5, 5), "forward A/B");
  EXPECT_EQ(listedEdges(g), "(5,5)");
  EXPECT_EQ(g.addEdge(5, 5, forward, C, D), 1);
  EXPECT_EQ(seen(g, 5, 5), "forward A/B");
  EXPECT_EQ(g.addEdge(5, 5, backward, C, D), 2);
  EXPECT_EQ(seen(g, 5, 5), "undirected C/D");
  EXPECT_EQ(g.addEdge(5, 5, backward, A, B), 2);
  EXPECT_EQ(seen(g, 5, 5), "backward A/B");
  EXPECT_EQ(g.addEdge(5, 6, forward, A, B), 3);
  EXPECT_EQ(g.edges(), 2u);
  EXPECT_EQ(listedEdges(g), "(5,5)(5,6)");
  G::edge loop = g.storedEdge(5, 5);
  EXPECT_TRUE(loop.isLoop());
  EXPECT_TRUE(G::otherCopy(loop) == loop);
}

TEST(Graph, ListingsAreInKeyOrderAndEachEdgeOnceFromTheSmallerKey) {
  G g;
  addNodes(g, {3, 1, 2});
  g.addEdge(2, 3, forward, A, B);
  g.addEdge(3, 1, forward, A, B);
  g.addEdge(1, 2, forward, A, B);
  List<G::GraphNode*>& nodes = g.listNodes();
  std::string keys;
  bool more = !nodes.isEmpty();
  nodes.goToFirst();
  while (more) {
    keys +=
        std::to_string(nodes.current()->key) + "=" + std::to_string(*nodes.current()->value) + " ";
    delete nodes.current();
    more = nodes.next();
  }
  EXPECT_EQ(keys, "1=100 2=200 3=300 ");
  EXPECT_EQ(listedEdges(g), "(1,2)(1,3)(2,3)");
  // The visited marks are cleared: a second listing is complete again.
  EXPECT_EQ(listedEdges(g), "(1,2)(1,3)(2,3)");
}

TEST(Graph, ListEdgesOnARandomGraphListsEveryEdgeOnceInOrder) {
  std::mt19937 rng(7);
  G g;
  for (int k = 0; k < 200; ++k) g.addNode(k, (k * 37) % 200);
  std::vector<std::pair<int, int>> expected;
  for (int i = 0; i < 1500; ++i) {
    int a = static_cast<int>(rng() % 200), b = static_cast<int>(rng() % 200);
    int r = g.addEdge(a, b, static_cast<EdgeDir>(rng() % 3), A, B);
    ASSERT_NE(r, 0);
    if (r == 3) expected.push_back({std::min(a, b), std::max(a, b)});
  }
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(g.edges(), expected.size());
  List<G::GraphEdge*>& l = g.listEdges();
  ASSERT_EQ(l.len(), expected.size());
  bool more = !l.isEmpty();
  l.goToFirst();
  size_t i = 0;
  while (more) {
    G::GraphEdge* e = l.current();
    EXPECT_EQ(std::make_pair(e->from->key, e->to->key), expected[i++]);
    // The record reaches the edge as seen from its `from` end.
    EXPECT_EQ(e->weight, &g.storedEdge(e->from->key, e->to->key).weight());
    delete e->from;
    delete e->to;
    delete e;
    more = l.next();
  }
  // The walks give the same edges in the same order, seen from the same ends, and the nodes in
  // key order. Each edge keeps the number it got when added.
  size_t walked = 0;
  std::vector<bool> numbered(expected.size(), false);
  g.forEachEdge([&](const G::edge& e) {
    ASSERT_LT(walked, expected.size());
    EXPECT_EQ(std::make_pair(e.from().key, e.to().key), expected[walked++]);
    EXPECT_TRUE(e == g.storedEdge(e.from().key, e.to().key));
    ASSERT_LT(e.number(), numbered.size());
    EXPECT_FALSE(numbered[e.number()]);
    numbered[e.number()] = true;
  });
  EXPECT_EQ(walked, expected.size());
  int previous = -1;
  std::uint32_t nodes = 0;
  g.forEachNode([&](const int& value, const int& key) {
    EXPECT_GT(key, previous);
    EXPECT_EQ(key, (value * 37) % 200);
    previous = key;
    ++nodes;
  });
  EXPECT_EQ(nodes, g.nodes());
}

// An edge is stored once: a weight written through a record or a handle is the other end's
// reverse weight. A direction written through a record's pointer changes its own end's view only,
// setDirection both ends' views.
TEST(Graph, WritesThroughARecordReachTheEdgeItself) {
  G g;
  addNodes(g, {1, 2});
  g.addEdge(1, 2, forward, A, B);
  G::GraphEdge* e = g.edgeProperties(1, 2);
  *e->direction = undirected;
  *e->weight = C;
  *e->from->value = 111;  // the node value itself, not a copy
  delete e->from;
  delete e->to;
  delete e;
  EXPECT_EQ(seen(g, 1, 2), "undirected C/B");
  EXPECT_EQ(seen(g, 2, 1), "backward B/C");
  g.storedEdge(2, 1).setDirection(forward);
  g.storedEdge(2, 1).reverseWeight() = D;
  EXPECT_EQ(seen(g, 1, 2), "backward D/B");
  EXPECT_EQ(seen(g, 2, 1), "forward B/D");
  List<G::GraphEdge*>& l = g.listEdges();
  ASSERT_EQ(l.len(), 1u);
  G::GraphEdge* listed = l.first();
  EXPECT_EQ(*listed->direction, backward);
  EXPECT_EQ(*listed->from->value, 111);
  delete listed->from;
  delete listed->to;
  delete listed;
}

TEST(Graph, EdgePropertiesAndStoredEdgeGiveNullWithoutAnEdge) {
  G g;
  EXPECT_EQ(g.edgeProperties(1, 2), nullptr);
  EXPECT_FALSE(g.storedEdge(1, 2));
  addNodes(g, {1, 2, 3});
  g.addEdge(1, 2, forward, A, B);
  EXPECT_EQ(g.edgeProperties(4, 1), nullptr);
  EXPECT_EQ(g.edgeProperties(1, 4), nullptr);
  EXPECT_EQ(g.edgeProperties(1, 3), nullptr);
  EXPECT_FALSE(g.storedEdge(1, 3));
  EXPECT_FALSE(g.storedEdge(1, 1));
  EXPECT_FALSE(g.ensureEdge(1, 4));
  EXPECT_EQ(g.edges(), 1u);
}

// ensureEdge finds an edge as storedEdge does and makes a missing one as addEdge would with
// default weights and no direction, counting it.
TEST(Graph, EnsureEdgeFindsOrMakesAnUndirectedEdge) {
  G g;
  addNodes(g, {1, 2, 3});
  g.addEdge(1, 2, forward, A, B);
  EXPECT_TRUE(g.ensureEdge(2, 1) == g.storedEdge(2, 1));
  EXPECT_EQ(seen(g, 1, 2), "forward A/B");
  G::edge made = g.ensureEdge(3, 1);
  EXPECT_EQ(g.edges(), 2u);
  EXPECT_TRUE(made == g.storedEdge(3, 1));
  EXPECT_EQ(made.number(), 1u);
  EXPECT_EQ(seen(g, 1, 3), "undirected default/default");
  EXPECT_EQ(g.addEdge(1, 3, undirected, C, D), 1);
}

TEST(Graph, StoredEdgeIsTheEdgeEdgePropertiesPointsAt) {
  G g;
  addNodes(g, {1, 2});
  g.addEdge(2, 1, backward, A, B);
  G::edge near = g.storedEdge(2, 1);
  G::edge far = g.storedEdge(1, 2);
  ASSERT_TRUE(near);
  EXPECT_TRUE(G::otherCopy(near) == far);
  EXPECT_TRUE(G::otherCopy(far) == near);
  EXPECT_TRUE(near != far);
  EXPECT_FALSE(near.isLoop());
  EXPECT_EQ(near.number(), far.number());
  EXPECT_EQ(near.from().key, 2);
  EXPECT_EQ(near.to().key, 1);
  EXPECT_EQ(&near.weight(), &far.reverseWeight());
  G::GraphEdge* e = g.edgeProperties(2, 1);
  EXPECT_EQ(e->weight, &near.weight());
  EXPECT_EQ(e->reverseWeight, &near.reverseWeight());
  EXPECT_EQ(*e->direction, near.direction());
  delete e->from;
  delete e->to;
  delete e;
  far.setDirection(undirected);
  far.reverseWeight() = D;
  EXPECT_EQ(seen(g, 1, 2), "undirected B/D");
  // Edges stay put while the graph grows.
  W* weight = &far.weight();
  for (int k = 3; k < 3000; ++k) {
    g.addNode(k, k);
    g.addEdge(1, k, forward, A, B);
  }
  EXPECT_TRUE(g.storedEdge(1, 2) == far);
  EXPECT_EQ(&g.storedEdge(1, 2).weight(), weight);
}

TEST(Graph, OverwriteWithWeightsReadFromTheSameEdge) {
  G g;
  addNodes(g, {1, 2});
  g.addEdge(1, 2, forward, A, B);
  // Pass the weights as seen from the far end: the near end must see them, the far one swapped.
  G::edge far = g.storedEdge(2, 1);
  EXPECT_EQ(g.addEdge(1, 2, backward, far.weight(), far.reverseWeight()), 2);
  EXPECT_EQ(seen(g, 1, 2), "undirected B/A");
  EXPECT_EQ(seen(g, 2, 1), "undirected A/B");
  G::edge near = g.storedEdge(1, 2);
  EXPECT_EQ(g.addEdge(1, 2, forward, near.reverseWeight(), near.weight()), 2);
  EXPECT_EQ(seen(g, 1, 2), "forward A/B");
  EXPECT_EQ(seen(g, 2, 1), "backward B/A");
}

TEST(Graph, ListNodesRefillsTheSameListAndOldRecordsStayValid) {
  G g;
  addNodes(g, {2, 1});
  List<G::GraphNode*>& first = g.listNodes();
  G::GraphNode* old1 = first.first();
  first.goToFirst();
  first.next();
  G::GraphNode* old2 = first.current();
  g.addNode(300, 3);
  List<G::GraphNode*>& second = g.listNodes();
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(second.len(), 3u);
  EXPECT_EQ(old1->key, 1);
  EXPECT_EQ(*old2->value, 200);
  delete old1;
  delete old2;
  while (!second.isEmpty()) delete second.pop();
  List<G::GraphEdge*>& edges1 = g.listEdges();
  EXPECT_EQ(&edges1, &g.listEdges());
  EXPECT_TRUE(edges1.isEmpty());
}

// A key the direct node table cannot index, so that nodes are found through the tree alone.
struct TreeKey {
  long v = 0;
  TreeKey() = default;
  explicit TreeKey(long value) : v(value) {}
  bool operator==(const TreeKey& o) const { return v == o.v; }
  bool operator>(const TreeKey& o) const { return v > o.v; }
};

// Integer keys below 65536 take a faster node lookup; it must agree with the tree lookup.
template <class Key>
std::string runAgainstKeys(const std::vector<long>& keys, unsigned seed) {
  Graph<int, Tag, Key> g;
  std::string log;
  std::mt19937 rng(seed);
  for (size_t i = 0; i < keys.size(); ++i) {
    log += g.addNode(static_cast<int>(i), static_cast<Key>(keys[i])) ? "n" : "-";
  }
  for (int i = 0; i < 3000; ++i) {
    Key a = static_cast<Key>(keys[rng() % keys.size()]);
    Key b = static_cast<Key>(keys[rng() % keys.size()]);
    if (rng() % 10 == 0) b = static_cast<Key>(12345);  // not a node
    log += std::to_string(g.addEdge(a, b, static_cast<EdgeDir>(rng() % 3), A, B));
    auto e = g.storedEdge(b, a);
    log += e ? std::to_string(e.direction()) : "x";
  }
  log += " " + std::to_string(g.nodes()) + " " + std::to_string(g.edges()) + " ";
  auto& l = g.listEdges();
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    auto* e = l.current();
    log += std::to_string(*e->from->value) + "-" + std::to_string(*e->to->value) + ",";
    delete e->from;
    delete e->to;
    delete e;
    more = l.next();
  }
  return log;
}

TEST(Graph, SixteenBitKeysBehaveLikeWiderOnes) {
  // Ends of the range, duplicates, and values that fit 16 bits either signed or unsigned.
  std::vector<long> unsignedKeys = {0, 65535, 1,     7018,  701,  1239,
                                    0, 32767, 32768, 65534, 3356, 174};
  std::vector<long> signedKeys = {0, -1, -32768, 32767, 5, -5, 5, 100, -100, 2000};
  EXPECT_EQ(runAgainstKeys<unsigned short>(unsignedKeys, 1), runAgainstKeys<long>(unsignedKeys, 1));
  EXPECT_EQ(runAgainstKeys<short>(signedKeys, 2), runAgainstKeys<long>(signedKeys, 2));
  EXPECT_EQ(runAgainstKeys<unsigned char>({0, 255, 3, 3, 128}, 3),
            runAgainstKeys<long>({0, 255, 3, 3, 128}, 3));
  // 32-bit keys on both sides of the table's end.
  std::vector<long> wideKeys = {0, 65535, 65536, 4294967295L, 70000, 7018, 65536, 1, 131071};
  EXPECT_EQ(runAgainstKeys<unsigned int>(wideKeys, 4), runAgainstKeys<TreeKey>(wideKeys, 4));
  EXPECT_EQ(runAgainstKeys<long>(signedKeys, 5), runAgainstKeys<TreeKey>(signedKeys, 5));
}

}  // namespace
