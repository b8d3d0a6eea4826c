#include "build/line_handlers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "driver/command_line.h"

namespace {

// Covering values of a path-saturation line are added as their whole part, wrapping like the
// counters; values no integer conversion can take (infinite, not a number, 2^64 and more) must
// not reach an undefined conversion and add nothing.
TEST(LineHandlersTest, SaturationCoveringWholeParts) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    unsigned int added;
  } cases[] = {
      {3.9, 3},          {0.5, 0},          {0.0, 0},   {4294967295.9, 4294967295u},
      {inf, 0},          {std::nan(""), 0}, {1e300, 0}, {1e19, 2313682944u},
      {4294967301.0, 5},
  };
  for (const Case& c : cases) {
    ASGraph graph;
    graph.addNode(1, 1);
    graph.addNode(2, 2);
    ASEdgeWeight fresh;
    graph.addEdge(1, 2, undirected, fresh, fresh);
    SatParser::ParsedData line;
    line.from = 1;
    line.to = 2;
    line.notReversed = false;
    line.firstCovering = c.value;
    line.secondCovering = 7.0;
    EdgeLookup edges(graph);
    handleSatLine(edges, line, getPathCovering | getIPCovering);
    SCOPED_TRACE(c.value);
    // Reversed: the way 2->1 takes the first value, 1->2 the second.
    EXPECT_EQ(c.added, graph.storedEdge(2, 1).weight().pathCovering);
    EXPECT_EQ(c.added, graph.storedEdge(2, 1).weight().ipCovering);
    EXPECT_EQ(7u, graph.storedEdge(1, 2).weight().pathCovering);
    EXPECT_EQ(7u, graph.storedEdge(1, 2).weight().ipCovering);
  }
}

}  // namespace
