#include "export/csv_writer.h"

#include "export/neighbourhood.h"
#include "export_test_graph.h"

TEST(CsvWriter, WritesHeaderAndOneRowPerNodeAndEdgeInFileOrder) {
  ASGraph graph;
  readGraphText(kTestGraph, graph);
  GraphView view(graph);
  EXPECT_EQ(render([&](OutputBuffer& out) { writeNodesCsv(view, out); }),
            "id,asn\nAS1,1\nAS2,2\nAS3,3\nAS7,7\nAS4200000000,4200000000\n");
  EXPECT_EQ(render([&](OutputBuffer& out) { writeEdgesCsv(view, out); }),
            "source,target,oriented,direction,relationship,paths_ab,ip_ab,paths_ba,ip_ba\n"
            "AS1,AS1,0,0,unknown,0,0,0,0\n"
            "AS1,AS2,1,1,customer-provider,3,100,0,0\n"
            "AS1,AS3,1,-1,provider-customer,0,0,2,5\n"
            "AS2,AS3,1,0,peer,1,0,1,0\n"
            "AS3,AS4200000000,0,0,unknown,0,0,0,18446744073709551615\n");
}

TEST(CsvWriter, DifferentialGraphAddsComparisonColumnsAsTheFileHasThem) {
  ASGraph graph;
  readGraphText(
      "VDG\n1\nd\n\n2\n1\n5\n9\n"
      "5 9 1 -1 1 2 3 4 1 0 -1 1 5 6 7 8 2 1 3 4 0 9 0.250000\n",
      graph);
  EXPECT_EQ(render([&](OutputBuffer& out) { writeEdgesCsv(GraphView(graph), out); }),
            "source,target,oriented,direction,relationship,paths_ab,ip_ab,paths_ba,ip_ba,"
            "cmp_oriented_0,cmp_oriented_1,cmp_direction_0,cmp_direction_1,paths_ab_1,ip_ab_1,"
            "paths_ba_1,ip_ba_1,compared_graphs,incoming,outgoing,undirected,unoriented,"
            "orientation_changes,orientation_stability\n"
            "AS5,AS9,1,-1,provider-customer,1,2,3,4,1,0,-1,1,5,6,7,8,2,1,3,4,0,9,0.250000\n");
}

TEST(CsvWriter, FocusedViewKeepsOnlyTheNeighbourhoodAndTheEdgesAmongIt) {
  ASGraph graph;
  readGraphText(kTestGraph, graph);
  std::vector<ASNumber> kept;
  ASSERT_TRUE(findNeighbourhood(graph, 2, 1, kept));
  GraphView view(graph);
  view.focus(2, 1, kept);
  EXPECT_EQ(render([&](OutputBuffer& out) { writeEdgesCsv(view, out); }),
            "source,target,oriented,direction,relationship,paths_ab,ip_ab,paths_ba,ip_ba\n"
            "AS1,AS1,0,0,unknown,0,0,0,0\n"
            "AS1,AS2,1,1,customer-provider,3,100,0,0\n"
            "AS1,AS3,1,-1,provider-customer,0,0,2,5\n"
            "AS2,AS3,1,0,peer,1,0,1,0\n");
}
