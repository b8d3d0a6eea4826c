// A small graph for the writer tests, read from graph file text, and the text a writer makes of
// it. It has one edge of each relationship, a self-loop, a 32-bit AS and a comment and file
// names that need escaping.
#ifndef ZELGRIN_TESTS_EXPORT_EXPORT_TEST_GRAPH_H
#define ZELGRIN_TESTS_EXPORT_EXPORT_TEST_GRAPH_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <stdio.h>  // open_memstream

#include "asgraph/graph_file.h"
#include "export/graph_view.h"
#include "export/output_buffer.h"

inline const char kTestGraph[] =
    "VGR\n2\na&b.txt\ncaf\xC3\xA9 \"x\".txt\nsee <here>\n5\n5\n1\n2\n3\n7\n4200000000\n"
    "1 1 0 0 0 0 0 0\n"
    "1 2 1 1 3 100 0 0\n"
    "1 3 1 -1 0 0 2 5\n"
    "2 3 1 0 1 0 1 0\n"
    "3 4200000000 0 0 0 0 0 18446744073709551615\n";

// Reads graph file text into graph; fails the test when the reader refuses it.
inline void readGraphText(const std::string& text, ASGraph& graph) {
  std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  ASSERT_NE(in, nullptr);
  StreamLineSource lines(in);
  std::string reason;
  EXPECT_TRUE(readGraphFile(lines, graph, reason, ASWidth{true})) << reason;
  std::fclose(in);
}

// Everything write(buffer) appends, as one string.
template <typename Write>
std::string render(Write write) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  {
    OutputBuffer buffer(out);
    write(buffer);
    EXPECT_TRUE(buffer.flush());
  }
  std::fclose(out);
  std::string result(text, size);
  std::free(text);
  return result;
}

#endif  // ZELGRIN_TESTS_EXPORT_EXPORT_TEST_GRAPH_H
