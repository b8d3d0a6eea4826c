#include "export/neighbourhood.h"

#include "export_test_graph.h"

TEST(Neighbourhood, KeepsEveryASWithinDepthHopsEitherWay) {
  // A chain 10-20-30-40 whose edges point both ways, with 50 off 30 and 60 alone.
  ASGraph graph;
  readGraphText(
      "VGR\n1\ns\n\n6\n4\n10\n20\n30\n40\n50\n60\n"
      "10 20 1 1 0 0 0 0\n20 30 1 -1 0 0 0 0\n30 40 0 0 0 0 0 0\n30 50 1 0 0 0 0 0\n",
      graph);
  const struct {
    ASNumber centre;
    unsigned depth;
    std::vector<ASNumber> kept;
  } cases[] = {
      {10, 0, {10}},
      {10, 1, {10, 20}},
      {10, 2, {10, 20, 30}},
      {10, 3, {10, 20, 30, 40, 50}},
      {40, 2, {20, 30, 40, 50}},
      {10, 1000000, {10, 20, 30, 40, 50}},
      {60, 5, {60}},
  };
  for (const auto& c : cases) {
    std::vector<ASNumber> kept;
    EXPECT_TRUE(findNeighbourhood(graph, c.centre, c.depth, kept));
    EXPECT_EQ(kept, c.kept) << "around " << c.centre << " depth " << c.depth;
  }
  std::vector<ASNumber> kept{1};
  EXPECT_FALSE(findNeighbourhood(graph, 15, 1, kept));
  EXPECT_TRUE(kept.empty());
}
