#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "build/build_graph.h"
#include "build/covering_ranges.h"
#include "build/ip_covering.h"
#include "build/table_cuts.h"
#include "parsers/temp_files.h"

namespace {

const char kHeader[] = "   Network          Next Hop            Metric LocPrf Weight Path\n";

// A table route line: the network (empty: a later route to the same network) and its path.
std::string routeLine(const std::string& network, const std::string& path) {
  char line[200];
  std::snprintf(line, sizeof line, "*> %-17s%-20s%6s %6s %6s %s i\n", network.c_str(), "192.0.2.1",
                "0", "", "0", path.c_str());
  return line;
}

// Router tables of random routes in ascending order of network, each network with one to three
// paths over a few ASes, and what can go wrong in one: a line that does not parse, a route
// wrapped onto the next line, a summary after the table.
struct Tables {
  std::vector<std::string> texts;
  std::string paths;  // every path of the tables, a line each
};

Tables randomTables(unsigned seed, int count, int routes) {
  std::mt19937 random(seed);
  auto roll = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
  Tables tables;
  for (int t = 0; t < count; ++t) {
    // Networks as routers print them: aligned to their length, in the merge's order.
    std::vector<std::pair<unsigned, unsigned>> networks;
    for (int r = 0; r < routes; ++r) {
      const unsigned length = 16 + roll(9);
      const unsigned address = (1 + roll(222)) << 24 | roll(1 << 16) << 8;
      networks.emplace_back(address & ~0u << (32 - length), 32 - length);
    }
    std::sort(networks.begin(), networks.end());
    networks.erase(std::unique(networks.begin(), networks.end()), networks.end());
    std::string text = std::string("BGP table version is 7\n\n") + kHeader;
    for (const auto& [address, hostBits] : networks) {
      char network[32];
      std::snprintf(network, sizeof network, "%u.%u.%u.0/%u", address >> 24, address >> 16 & 255,
                    address >> 8 & 255, 32 - hostBits);
      for (unsigned n = 1 + roll(3), i = 0; i < n; ++i) {
        std::string path = std::to_string(1 + roll(9));
        for (unsigned hop = 0, hops = 1 + roll(4); hop < hops; ++hop) {
          path += " " + std::to_string(10 + roll(30));
        }
        tables.paths += path + "\n";
        if (roll(40) == 0) path += " x7";
        const std::string shown = i == 0 ? network : "";
        if (roll(30) == 0) {
          // Wrapped: the network fills its line, the rest follows under the header.
          text += "*> " + std::string(network) + "\n" + routeLine("", path);
          continue;
        }
        text += routeLine(shown, path);
      }
    }
    text += "\nTotal number of prefixes " + std::to_string(routes) + "\n";
    tables.texts.push_back(text);
  }
  return tables;
}

// The graph as lines "from to ip-covering reverse-ip-covering", and each dump's counts.
std::string outcome(const ASGraph& graph, const BuildReport& report) {
  std::string text;
  graph.forEachEdge([&text](const ASGraph::edge& e) {
    text += std::to_string(e.from().key) + " " + std::to_string(e.to().key) + " " +
            std::to_string(e.weight().ipCovering) + " " +
            std::to_string(e.reverseWeight().ipCovering) + "\n";
  });
  for (int k = 0; k < report.size(); ++k) {
    const InputReport& entry = report.entry(k);
    text += std::to_string(entry.linesRead) + " read, " + std::to_string(entry.stats.used()) +
            " used, " + std::to_string(entry.applied) + " applied;";
    for (int i = 0; i < entry.stats.reasonCount(); ++i) {
      text +=
          std::string(" ") + entry.stats.reason(i) + " x" + std::to_string(entry.stats.count(i));
    }
    text += "\n";
  }
  return text;
}

// Tables merged in ranges of addresses by two threads count as one merge does: tables out of
// order within a range too, and tables the ranges cannot stand for (a route spanning a cut or
// wrapped over it, a header that moves the columns, covering the graph held before), which are
// merged as one.
TEST(MergeRangesTest, SameAsOneMerge) {
  struct Case {
    const char* name;
    bool exact;
    const char* ranges;
    const char* change;  // how the first table is spoilt, if at all
  };
  const Case cases[] = {
      {"classic", false, "", ""},
      {"exact", true, "", ""},
      {"exact in ranges", true, "20.0.0.0/6,100.0.0.0/8,190.0.0.0/7", ""},
      {"out of order in a range", false, "", "swap"},
      {"spanning the cut", true, "", "span"},
      {"columns moved", false, "", "header"},
      {"covering held before", false, "", "held"},
      {"route wrapped over the cut", false, "", "wrap"},
  };
  for (const Case& c : cases) {
    Tables tables = randomTables(5, 3, 600);
    std::string& first = tables.texts[0];
    if (std::string(c.change) == "swap") {
      // Two lines of the first ranges swapped: each range holds only routes of its own.
      const std::size_t early = first.find("\n*> ", first.size() / 8) + 1;
      const std::size_t later = first.find("\n*> ", early + 300) + 1;
      const std::size_t next = first.find("\n*> ", later) + 1;
      first = first.substr(0, early) + first.substr(later, next - later) +
              first.substr(early, later - early) + first.substr(next);
    } else if (std::string(c.change) == "span") {
      first.insert(first.find(kHeader) + sizeof kHeader - 1, routeLine("1.0.0.0/1", "1 10 11"));
    } else if (std::string(c.change) == "wrap") {
      // The first line of a route whose rest, for a single reading, is the line after it: the
      // first line the second range reads.
      TempFiles original;
      std::vector<InputFile> unchanged;
      for (const std::string& text : tables.texts) {
        unchanged.push_back({original.write(text), bgpFile, getIPCovering, 0, false, ""});
      }
      const std::optional<TableCuts> cuts =
          cutTables({&unchanged[0], &unchanged[1], &unchanged[2]}, 1, 16);
      ASSERT_TRUE(cuts.has_value());
      first.insert(cuts->at[0][0],
                   "*> " + std::to_string((cuts->boundaries[0] >> 24) - 1) + ".255.255.0/24\n");
    } else if (std::string(c.change) == "header") {
      const std::size_t quarter = first.find("\n*> ", first.size() / 4) + 1;
      first.insert(quarter,
                   "   Network            Next Hop            Metric LocPrf Weight Path\n");
    }
    TempFiles files;
    std::vector<InputFile> inputs = {
        {files.write(tables.paths), pathFile, getNodes | getEdges, 0, false, ""}};
    for (const std::string& text : tables.texts) {
      inputs.push_back({files.write(text), bgpFile, getIPCovering, 0, false, ""});
    }
    AddressRanges ranges;
    std::string bad;
    ASSERT_TRUE(std::string(c.ranges).empty() || ranges.addList(c.ranges, bad)) << bad;
    auto merge = [&](int threads) {
      BuildOptions options;
      options.threads = threads;
      options.minPartBytes = 1;
      options.exactCovering = c.exact;
      if (!ranges.empty()) options.ipRanges = &ranges;
      ASGraph graph;
      if (std::string(c.change) == "held") {
        graph.addNode(1, 1);
        graph.addNode(10, 10);
        ASEdgeWeight held;
        held.ipCovering = 1000;
        graph.addEdge(1, 10, undirected, held, held);
      }
      BuildReport report(static_cast<int>(inputs.size()));
      EXPECT_EQ(buildGraph(inputs, options, graph, &report), buildOk) << c.name;
      return outcome(graph, report);
    };
    const std::string once = merge(1);
    EXPECT_EQ(merge(2), once) << c.name;
    EXPECT_EQ(merge(4), once) << c.name;
  }
}

// Each table is cut at its first route line at or above each boundary, the start of the /8 a
// step through the largest table falls in: at its first route, or at its end, when nothing of
// it lies above. As many ranges as the bytes allow, up to the most asked for.
TEST(TableCutsTest, CutAtTheFirstRouteAboveEachBoundary) {
  const Tables tables = randomTables(9, 2, 3000);
  const std::string low = std::string(kHeader) + routeLine("2.0.0.0/8", "1 2");
  const std::string high = std::string(kHeader) + routeLine("223.0.0.0/8", "1 2");
  TempFiles files;
  std::vector<InputFile> inputs;
  for (const std::string& text : {tables.texts[0], tables.texts[1], low, high}) {
    inputs.push_back({files.write(text), bgpFile, getIPCovering, 0, false, ""});
  }
  std::vector<const InputFile*> dumps;
  for (const InputFile& input : inputs) dumps.push_back(&input);
  const std::optional<TableCuts> cuts = cutTables(dumps, 1, 6);
  ASSERT_TRUE(cuts.has_value());
  ASSERT_EQ(cuts->ranges(), 6u);
  for (std::size_t b = 0; b < cuts->boundaries.size(); ++b) {
    const std::uint32_t boundary = cuts->boundaries[b];
    EXPECT_EQ(boundary & 0x00FFFFFFu, 0u);
    if (b > 0) {
      EXPECT_GT(boundary, cuts->boundaries[b - 1]);
    }
    ASSERT_EQ(cuts->at[b].size(), 4u);
    EXPECT_EQ(cuts->at[b][2], low.size());
    EXPECT_EQ(cuts->at[b][3], std::string(kHeader).size());
    for (int k = 0; k < 2; ++k) {
      const std::string& text = tables.texts[k];
      // The first line naming a network at or above the boundary.
      std::size_t expected = text.size();
      for (std::size_t at = text.find("\n*> ") + 1; at != 0; at = text.find("\n*> ", at) + 1) {
        unsigned a = 0;
        if (text[at + 3] != ' ' && std::sscanf(text.c_str() + at, "*> %u.", &a) == 1 &&
            (a << 24) >= boundary) {
          expected = at;
          break;
        }
      }
      EXPECT_EQ(cuts->at[b][k], expected) << b << " " << k;
    }
  }
  const unsigned long long total =
      tables.texts[0].size() + tables.texts[1].size() + low.size() + high.size();
  EXPECT_EQ(cutTables(dumps, total / 3, 6)->ranges(), 3u);
  EXPECT_FALSE(cutTables(dumps, total / 2 + 1, 6).has_value());
}

// Adding the other thread's ranges sums each way's count, and the way remembers the prefix of
// the higher range that credited it, as one merge in address order would leave it.
TEST(MergeRangesTest, AddedWaysRememberTheHigherRange) {
  struct Case {
    bool exact;
    int here, there;  // the /8 each graph credited the way in; 0: none
    int remembered;
  };
  const Case cases[] = {{false, 10, 0, 10},  {false, 0, 20, 20}, {false, 10, 20, 20},
                        {false, 30, 20, 30}, {true, 10, 0, 10},  {true, 0, 20, 20},
                        {true, 10, 20, 20},  {true, 30, 20, 30}};
  for (const Case& c : cases) {
    ASGraph graph, other;
    graph.addNode(1, 1);
    graph.addNode(2, 2);
    graph.addEdge(1, 2, undirected, ASEdgeWeight{}, ASEdgeWeight{});
    if (c.exact) startExactCovering(graph);
    copyForCovering(graph, other, c.exact);
    auto credit = [](ASGraph& g, int slash8) {
      if (slash8 == 0) return;
      ASGraph::edge e = g.storedEdge(1, 2);
      e.weight().ipCovering += 256;
      e.weight().lastPrefix = RememberedPrefix::of(std::uint32_t(slash8) << 24, 0xFFFFFF00u);
    };
    credit(graph, c.here);
    credit(other, c.there);
    addRangesCovering(graph, other, c.exact);
    const ASEdgeWeight& way = graph.storedEdge(1, 2).weight();
    EXPECT_EQ(way.ipCovering, 256u * ((c.here != 0) + (c.there != 0))) << c.here << c.there;
    EXPECT_EQ(way.lastPrefix.first, std::uint32_t(c.remembered) << 24) << c.here << c.there;
  }
}

}  // namespace
