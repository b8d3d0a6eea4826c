#include "build/graph_sum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "parsers/temp_files.h"

namespace {

// A plain graph file from its source names and edge lines; the nodes are those the edges name.
std::string graphText(const std::vector<std::string>& sources,
                      const std::vector<std::string>& nodes,
                      const std::vector<std::string>& edges) {
  std::string text = "VGR\n" + std::to_string(sources.size()) + "\n";
  for (const std::string& s : sources) text += s + "\n";
  text += "\n" + std::to_string(nodes.size()) + "\n" + std::to_string(edges.size()) + "\n";
  for (const std::string& n : nodes) text += n + "\n";
  for (const std::string& e : edges) text += e + "\n";
  return text;
}

std::string written(ASGraph& graph) {
  std::FILE* out = std::tmpfile();
  EXPECT_TRUE(graph.writeToFile(out));
  std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  EXPECT_EQ(std::fread(&text[0], 1, text.size(), out), text.size());
  std::fclose(out);
  return text;
}

}  // namespace

TEST(GraphSumTest, AddsCoveringsAndMergesOrientations) {
  struct Case {
    const char* what;
    std::vector<std::vector<std::string>> partEdges;  // one list of edge lines per graph
    std::vector<std::string> sumEdges;
    std::uint64_t conflicts;
  } cases[] = {
      {"union and sums",
       {{"1 2 0 0 1 10 0 0", "2 3 0 0 1 0 0 0"}, {"1 2 0 0 2 5 1 7", "1 3 0 0 1 0 0 0"}},
       {"1 2 0 0 3 15 1 7", "1 3 0 0 1 0 0 0", "2 3 0 0 1 0 0 0"},
       0},
      {"oriented in one graph only",
       {{"1 2 0 0 1 0 0 0"}, {"1 2 1 -1 0 0 1 0"}, {"1 2 0 0 1 0 0 0"}},
       {"1 2 1 -1 2 0 1 0"},
       0},
      {"agreeing orientations", {{"1 2 1 1 1 0 0 0"}, {"1 2 1 1 1 0 0 0"}}, {"1 2 1 1 2 0 0 0"}, 0},
      {"disagreeing orientations stay unoriented",
       {{"1 2 1 1 1 0 0 0"}, {"1 2 1 -1 1 0 0 0"}, {"1 2 1 1 1 0 0 0"}},
       {"1 2 0 0 3 0 0 0"},
       1},
      {"a peering disagrees with a direction",
       {{"1 2 1 0 1 0 0 0"}, {"1 2 1 1 1 0 0 0"}},
       {"1 2 0 0 2 0 0 0"},
       1},
  };
  for (const Case& c : cases) {
    TempFiles files;
    ASGraph sum;
    GraphSum adder(sum, ASWidth{});
    std::vector<std::string> sources;
    for (std::size_t k = 0; k < c.partEdges.size(); ++k) {
      const std::string source = "part" + std::to_string(k);
      sources.push_back(source);
      std::string reason;
      const std::string name = files.write(graphText({source}, {"1", "2", "3"}, c.partEdges[k]));
      ASSERT_EQ(adder.add(name.c_str(), reason), GraphSum::Result::ok) << c.what << ": " << reason;
    }
    EXPECT_EQ(written(sum), graphText(sources, {"1", "2", "3"}, c.sumEdges)) << c.what;
    EXPECT_EQ(adder.conflicts(), c.conflicts) << c.what;
  }
}

TEST(GraphSumTest, RefusesWhatItCannotAdd) {
  TempFiles files;
  const std::string full = files.write(graphText({"a"}, {"1", "2"}, {"1 2 0 0 4294967295 0 0 0"}));
  const std::string one = files.write(graphText({"b"}, {"1", "2"}, {"1 2 0 0 1 0 0 0"}));
  const std::string diff = files.write("VDG\n1\nd\n\n0\n0\n");
  ASGraph sum;
  GraphSum adder(sum, ASWidth{});
  std::string reason;
  ASSERT_EQ(adder.add(full.c_str(), reason), GraphSum::Result::ok);
  EXPECT_EQ(adder.add(one.c_str(), reason), GraphSum::Result::overflow);
  EXPECT_EQ(reason, "the covering of edge 1 2 would exceed its largest value");
  EXPECT_EQ(adder.add(diff.c_str(), reason), GraphSum::Result::differential);
  EXPECT_EQ(adder.add((files.dir() + "/missing").c_str(), reason), GraphSum::Result::unopened);
  EXPECT_EQ(reason, "No such file or directory");
}

TEST(GraphSumTest, AddsOnlyGraphsOfTheRunsFamily) {
  TempFiles files;
  const std::string edge = "\n1\ns\n\n2\n1\n1\n2\n1 2 0 0 1 9223372036854775808 0 0\n";
  const std::string v4 = files.write("VGR" + edge);
  const std::string v6 = files.write("VGR6" + edge);
  const std::string diff = files.write("VDG\n1\nd\n\n0\n0\n");
  const std::string text = files.write("1 2\n");
  using R = GraphSum::Result;
  const struct {
    AddressFamily family;
    std::vector<std::pair<std::string, R>> adds;  // in order, into one sum
  } cases[] = {
      {AddressFamily::ipv4, {{v6, R::otherFamily}, {diff, R::differential}, {text, R::invalid}}},
      {AddressFamily::ipv6, {{v4, R::otherFamily}, {diff, R::otherFamily}, {text, R::invalid}}},
      // Units overflow as addresses do: 2^63 twice does not fit.
      {AddressFamily::ipv6, {{v6, R::ok}, {v6, R::overflow}}},
  };
  for (const auto& c : cases) {
    ASGraph sum;
    GraphSum adder(sum, ASWidth{}, c.family);
    EXPECT_EQ(sum.family(), c.family);
    for (const auto& add : c.adds) {
      std::string reason;
      EXPECT_EQ(adder.add(add.first.c_str(), reason), add.second) << add.first << ": " << reason;
    }
  }
}
