#include "build/edge_lookup.h"

#include <gtest/gtest.h>

namespace {

// Whatever the table remembers or forgets, every answer is the graph's own; only edges that
// exist are remembered, so a missing edge is asked of the graph again once it exists.
TEST(EdgeLookupTest, AnswersAreTheGraphsWhateverItRemembers) {
  ASGraph graph;
  for (ASNumber as = 1; as <= 300; ++as) graph.addNode(as, as);
  EdgeLookup edges(graph);
  EXPECT_FALSE(edges.recent(1, 2));
  EXPECT_FALSE(edges.find(1, 2));
  EXPECT_FALSE(edges.recent(1, 2));
  EXPECT_FALSE(edges.findOrAdd(1, 301));  // no such node
  EXPECT_EQ(graph.edges(), 0u);
  const ASGraph::edge made = edges.findOrAdd(1, 2);
  ASSERT_TRUE(made);
  EXPECT_TRUE(edges.recent(1, 2) == made);
  EXPECT_FALSE(edges.recent(2, 1));  // remembered as asked: from 1
  EXPECT_TRUE(edges.find(2, 1) == graph.storedEdge(2, 1));
  // Far more pairs than the table holds, each asked twice from both ends.
  std::uint32_t pairs = 1;
  for (int round = 0; round < 2; ++round) {
    for (ASNumber a = 1; a <= 300; ++a) {
      for (ASNumber b = a; b <= 300; b += 7) {
        if (round == 0) ++pairs;
        const ASGraph::edge e = edges.findOrAdd(a, b);
        ASSERT_TRUE(e == graph.storedEdge(a, b)) << a << " " << b;
        ASSERT_TRUE(edges.find(b, a) == graph.storedEdge(b, a)) << a << " " << b;
      }
    }
  }
  EXPECT_EQ(graph.edges(), pairs);
}

}  // namespace
