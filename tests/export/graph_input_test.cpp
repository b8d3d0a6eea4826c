#include "export/graph_input.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(GraphInput, MessagesForMissingAndInvalidGraphs) {
  ASGraph graph;
  std::string message;
  EXPECT_EQ(loadGraph("/nonexistent/g", graph, message), LoadResult::unreadable);
  EXPECT_EQ(message,
            "Error while opening graph file `/nonexistent/g'\n(No such file or directory)\n");

  char name[] = "/tmp/zelgrin-export-graph-XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  std::FILE* file = fdopen(fd, "w");
  std::fputs("VGR\n1\ns\n\n2\n0\n70000\n4294967296\n", file);
  std::fclose(file);
  // The exporter reads 32-bit AS numbers: the first node is read, the second is too large.
  EXPECT_EQ(loadGraph(name, graph, message), LoadResult::invalid);
  EXPECT_EQ(message, std::string("File `") + name +
                         "' does not appear to be a valid graph file:\n"
                         "Invalid AS number: `4294967296'\n");
  EXPECT_EQ(graph.nodes(), 1u);

  // A file that is no graph at all (here a path list, then an empty file) is called so,
  // without quoting its first line.
  for (const char* text : {"701 7018 3356\n", ""}) {
    file = std::fopen(name, "w");
    std::fputs(text, file);
    std::fclose(file);
    ASGraph none;
    EXPECT_EQ(loadGraph(name, none, message), LoadResult::invalid);
    EXPECT_EQ(message, std::string("Error: `") + name + "' is not a zelgrin graph file\n");
  }
  std::remove(name);
}
