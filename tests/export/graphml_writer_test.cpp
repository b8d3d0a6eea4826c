#include "export/graphml_writer.h"

#include "export_test_graph.h"

TEST(GraphMLWriter, WritesTypedKeysEscapedGraphDataNodesAndEdges) {
  ASGraph graph;
  readGraphText(kTestGraph, graph);
  const std::string text = render([&](OutputBuffer& out) { writeGraphML(GraphView(graph), out); });
  const std::string expectedStart =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://graphml.graphdrawing.org/xmlns "
      "http://graphml.graphdrawing.org/xmlns/1.0/graphml.xsd\">\n"
      "  <key id=\"g0\" for=\"graph\" attr.name=\"sources\" attr.type=\"string\"/>\n"
      "  <key id=\"g1\" for=\"graph\" attr.name=\"comment\" attr.type=\"string\"/>\n"
      "  <key id=\"g2\" for=\"graph\" attr.name=\"differential\" attr.type=\"boolean\"/>\n"
      "  <key id=\"n0\" for=\"node\" attr.name=\"asn\" attr.type=\"long\"/>\n"
      "  <key id=\"e0\" for=\"edge\" attr.name=\"oriented\" attr.type=\"int\"/>\n"
      "  <key id=\"e1\" for=\"edge\" attr.name=\"direction\" attr.type=\"int\"/>\n"
      "  <key id=\"e2\" for=\"edge\" attr.name=\"relationship\" attr.type=\"string\"/>\n"
      "  <key id=\"e3\" for=\"edge\" attr.name=\"paths_ab\" attr.type=\"long\"/>\n"
      "  <key id=\"e4\" for=\"edge\" attr.name=\"ip_ab\" attr.type=\"long\"/>\n"
      "  <key id=\"e5\" for=\"edge\" attr.name=\"paths_ba\" attr.type=\"long\"/>\n"
      "  <key id=\"e6\" for=\"edge\" attr.name=\"ip_ba\" attr.type=\"long\"/>\n"
      "  <graph id=\"G\" edgedefault=\"directed\">\n"
      "    <data key=\"g0\">a&amp;b.txt\ncaf\xC3\xA9 \"x\".txt</data>\n"
      "    <data key=\"g1\">see &lt;here&gt;</data>\n"
      "    <data key=\"g2\">false</data>\n"
      "    <node id=\"AS1\"><data key=\"n0\">1</data></node>\n";
  EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
  // "1 3 1 -1 0 0 2 5": AS1 is the provider of AS3, so the arc runs from AS3 with its ways.
  EXPECT_NE(text.find("    <edge source=\"AS3\" target=\"AS1\"><data key=\"e0\">1</data>"
                      "<data key=\"e1\">1</data><data key=\"e2\">customer-provider</data>"
                      "<data key=\"e3\">2</data><data key=\"e4\">5</data>"
                      "<data key=\"e5\">0</data><data key=\"e6\">0</data></edge>\n"),
            std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 22), "  </graph>\n</graphml>\n");
}

TEST(GraphMLWriter, DifferentialGraphDeclaresTheComparisonFields) {
  ASGraph graph;
  readGraphText("VDG\n1\nd\n\n1\n0\n5\n", graph);
  const std::string text = render([&](OutputBuffer& out) { writeGraphML(GraphView(graph), out); });
  EXPECT_NE(text.find("<key id=\"e21\" for=\"edge\" attr.name=\"orientation_stability\" "
                      "attr.type=\"double\"/>"),
            std::string::npos);
  EXPECT_NE(text.find("<data key=\"g2\">true</data>"), std::string::npos);
}
