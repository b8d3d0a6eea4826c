#include "export/dot_writer.h"

#include "export/neighbourhood.h"
#include "export_test_graph.h"

TEST(DotWriter, ArrowsRunFromCustomerToProviderAndTheCentreIsFilled) {
  ASGraph graph;
  readGraphText(kTestGraph, graph);
  std::vector<ASNumber> kept;
  ASSERT_TRUE(findNeighbourhood(graph, 3, 1, kept));
  GraphView view(graph);
  view.focus(3, 1, kept);
  EXPECT_EQ(render([&](OutputBuffer& out) { writeDot(view, out); }),
            "digraph \"AS graph\" {\n"
            "  graph [rankdir=BT, labelloc=t, label=\"see <here>\\nAS3 and the ASes within 1 "
            "hop\\narrows: customer to provider, blue lines: peers, dashed: unknown\", "
            "comment=\"sources: a&b.txt caf\xC3\xA9 \\\"x\\\".txt\"];\n"
            "  AS1;\n"
            "  AS2;\n"
            "  AS3 [style=filled, fillcolor=gold];\n"
            "  AS4200000000;\n"
            "  AS1 -> AS1 [dir=none, style=dashed, constraint=false];\n"
            "  AS1 -> AS2;\n"
            "  AS3 -> AS1;\n"
            "  AS2 -> AS3 [dir=none, color=blue, constraint=false];\n"
            "  AS3 -> AS4200000000 [dir=none, style=dashed, constraint=false];\n"
            "}\n");
}
