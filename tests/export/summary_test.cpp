#include "export/summary.h"

#include "export_test_graph.h"

TEST(Summary, CountsRelationshipsSelfLoopsDegreesAndCovering) {
  ASGraph graph;
  readGraphText(kTestGraph, graph);
  const GraphSummary s = summarize(GraphView(graph));
  EXPECT_EQ(s.nodes, 5u);
  EXPECT_EQ(s.edges, 5u);
  EXPECT_EQ(s.oriented, 3u);
  EXPECT_EQ(s.directed, 2u);
  EXPECT_EQ(s.peers, 1u);
  EXPECT_EQ(s.unknown, 2u);
  EXPECT_EQ(s.selfLoops, 1u);
  EXPECT_EQ(s.withIpCovering, 3u);
  EXPECT_EQ(s.pathCovering, 7u);
  EXPECT_EQ(s.ipCovering, UINT64_MAX);  // stops there rather than wrapping
  // Degrees ascending: 0 (AS7), 1, 2, 3 (AS3), 3 (AS1: its self-loop counts once).
  EXPECT_EQ(s.degreeMin, 0u);
  EXPECT_EQ(s.degreeMedian, 2u);
  EXPECT_EQ(s.degree90, 3u);
  EXPECT_EQ(s.degreeMax, 3u);
  ASSERT_EQ(s.highestDegree.size(), 4u);  // AS7 has no edge
  EXPECT_EQ(s.highestDegree[0].as, 1u);
  EXPECT_EQ(s.highestDegree[0].customers, 1u);  // AS3
  EXPECT_EQ(s.highestDegree[0].providers, 1u);  // AS2
  EXPECT_EQ(s.highestDegree[0].unknown, 0u);    // the self-loop gives no relationship
  EXPECT_EQ(s.highestDegree[1].as, 3u);
  EXPECT_EQ(s.highestDegree[2].as, 2u);
  EXPECT_EQ(s.highestDegree[3].as, 4200000000u);
  ASSERT_EQ(s.mostCustomers.size(), 2u);  // tie at one customer: ascending AS
  EXPECT_EQ(s.mostCustomers[0].as, 1u);
  EXPECT_EQ(s.mostCustomers[1].as, 2u);
}

TEST(Summary, TextLayout) {
  ASGraph graph;
  // The graph's own text reaches a terminal escaped.
  readGraphText(
      "VGR\n1\npaths\x1B]0;x\x07.txt\nsmall\\\x9B\n3\n2\n5\n6\n7\n"
      "5 6 1 1 1 10 0 0\n5 7 0 0 0 0 0 0\n",
      graph);
  GraphView view(graph);
  EXPECT_EQ(render([&](OutputBuffer& out) { writeSummary(view, summarize(view), out); }),
            "Graph:            plain, 1 source file\n"
            "  paths\\x1b]0;x\\x07.txt\n"
            "Comment:          small\\\\\\x9b\n"
            "Nodes:                     3\n"
            "Edges:                     2\n"
            "  oriented                 1   50.0 %\n"
            "  directed                 1   50.0 %\n"
            "  peer                     0    0.0 %\n"
            "  unknown                  1   50.0 %\n"
            "  self-loops               0    0.0 %  from prepending: an AS repeated in a path\n"
            "  with IP covering         1   50.0 %\n"
            "Degree:           min 1, median 1, 90th percentile 2, 99th percentile 2, max 2\n"
            "Path covering:    1 paths over edges, both ways added\n"
            "IP covering:      10 addresses over edges, both ways added\n"
            "\n"
            "Highest degree  degree  customers  providers  peers  unknown\n"
            "  AS5                2          0          1      0        1\n"
            "  AS6                1          1          0      0        0\n"
            "  AS7                1          0          0      0        1\n"
            "\n"
            "Most customers  degree  customers  providers  peers  unknown\n"
            "  AS6                1          1          0      0        0\n");
}

TEST(Summary, EmptyGraphHasNoSharesOrRankings) {
  ASGraph graph;
  readGraphText("VGR\n1\ns\n\n0\n0\n", graph);
  GraphView view(graph);
  const std::string text =
      render([&](OutputBuffer& out) { writeSummary(view, summarize(view), out); });
  EXPECT_NE(text.find("  oriented                 0    0.0 %\n"), std::string::npos);
  EXPECT_NE(text.find("Degree:           min 0, median 0,"), std::string::npos);
  EXPECT_NE(text.find("unknown\n  (none)\n\nMost"), std::string::npos);
}
