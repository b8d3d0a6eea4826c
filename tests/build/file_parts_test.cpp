#include "build/file_parts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "build/build_graph.h"
#include "parsers/temp_files.h"

namespace {

// The graph as lines "from to path-covering reverse-path-covering", in key order.
std::vector<std::string> edgeLines(const ASGraph& graph) {
  std::vector<std::string> lines;
  graph.forEachEdge([&lines](const ASGraph::edge& e) {
    lines.push_back(std::to_string(e.from().key) + " " + std::to_string(e.to().key) + " " +
                    std::to_string(e.weight().pathCovering) + " " +
                    std::to_string(e.reverseWeight().pathCovering));
  });
  return lines;
}

// The counts of a report's first entry as one line, the reasons in the order they came.
std::string counts(const BuildReport& report) {
  const InputReport& entry = report.entry(0);
  std::string text = std::to_string(entry.linesRead) + " read, " +
                     std::to_string(entry.stats.used()) + " used, " +
                     std::to_string(entry.applied) + " applied;";
  for (int i = 0; i < entry.stats.reasonCount(); ++i) {
    text += std::string(" ") + entry.stats.reason(i) + " x" + std::to_string(entry.stats.count(i));
  }
  return text;
}

// A path list read in parts by several threads gives the graph and the counts of one reading,
// wherever the cuts fall: paths, blank lines, bad tokens and private ASes, cut at many sizes.
TEST(FilePartsTest, SameAsOneReading) {
  std::mt19937 random(11);
  std::string text;
  for (int line = 0; line < 20000; ++line) {
    if (line % 50 == 7) {
      text += "\n";
      continue;
    }
    for (unsigned n = 1 + random() % 6, i = 0; i < n; ++i) {
      text += (i ? " " : "") + std::to_string(1 + random() % 300);
    }
    if (line % 77 == 3) text += " x7";
    if (line % 91 == 5) text += " (64512)";
    text += "\n";
  }
  text += "5 6";  // no line end
  TempFiles files;
  InputFile input;
  input.name = files.write(text);
  input.type = pathFile;
  input.contents = getNodes | getEdges | getPathCovering;
  auto build = [&input](int threads, unsigned long long minPartBytes, BuildReport& report) {
    BuildOptions options;
    options.threads = threads;
    options.minPartBytes = minPartBytes;
    ASGraph graph;
    EXPECT_EQ(buildGraph({input}, options, graph, &report), buildOk);
    return edgeLines(graph);
  };
  BuildReport once(1);
  const std::vector<std::string> graph = build(1, 1, once);
  EXPECT_EQ(partsOf(input, BuildOptions{}), 1);
  for (unsigned long long minPartBytes : {9999ull, 33333ull, 70001ull}) {
    for (int threads : {2, 3, 4}) {
      BuildOptions options;
      options.threads = threads;
      options.minPartBytes = minPartBytes;
      ASSERT_GT(partsOf(input, options), 1);
      BuildReport parts(1);
      EXPECT_EQ(build(threads, minPartBytes, parts), graph) << threads << " " << minPartBytes;
      EXPECT_EQ(counts(parts), counts(once)) << threads << " " << minPartBytes;
    }
  }
}

}  // namespace
