#include "export/json_writer.h"

#include "export_test_graph.h"

TEST(JsonWriter, WritesNodeLinkDocumentWithEscapedGraphData) {
  ASGraph graph;
  readGraphText(
      "VGR\n2\na\\b\nq\"\x01\xFF.txt\nc\n2\n1\n1\n4200000000\n"
      "1 4200000000 1 -1 3 100 0 0\n",
      graph);
  EXPECT_EQ(render([&](OutputBuffer& out) { writeJson(GraphView(graph), out); }),
            "{\"directed\": true, \"multigraph\": false,\n"
            "\"graph\": {\"sources\": [\"a\\\\b\", \"q\\\"\\u0001\xEF\xBF\xBD.txt\"], "
            "\"comment\": \"c\", \"differential\": false},\n"
            "\"nodes\": [\n"
            "{\"id\": \"AS1\", \"asn\": 1},\n"
            "{\"id\": \"AS4200000000\", \"asn\": 4200000000}\n"
            "],\n"
            "\"links\": [\n"
            // From the customer, AS4200000000, to its provider, with the ways following.
            "{\"source\": \"AS4200000000\", \"target\": \"AS1\", \"oriented\": 1, "
            "\"direction\": 1, \"relationship\": \"customer-provider\", \"paths_ab\": 0, "
            "\"ip_ab\": 0, \"paths_ba\": 3, \"ip_ba\": 100}\n"
            "]}\n");
}

// JSON has no infinities or NaN; the reader may write both when the file says so.
TEST(JsonWriter, NonFiniteStabilityIsNull) {
  for (const char* stability : {"inf", "nan", "1e999"}) {
    ASGraph graph;
    readGraphText(std::string("VDG\n1\nd\n\n2\n1\n5\n9\n"
                              "5 9 1 -1 1 2 3 4 1 0 -1 1 5 6 7 8 2 1 3 4 0 9 ") +
                      stability + "\n",
                  graph);
    const std::string text = render([&](OutputBuffer& out) { writeJson(GraphView(graph), out); });
    EXPECT_NE(text.find("\"orientation_stability\": null}"), std::string::npos) << stability;
  }
}
