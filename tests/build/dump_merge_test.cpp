#include "build/dump_merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "build/build_graph.h"

#include "ip/ip_subspace.h"
#include "parsers/temp_files.h"

namespace {

// One route of a generated dump: network octets, prefix length (0: none written) and whether
// the line is broken so that it does not parse.
struct Route {
  unsigned a, b, c, len;
  bool broken;
};

IPPrefix prefixOf(const Route& r) {
  IPAddress address(static_cast<unsigned char>(r.a), static_cast<unsigned char>(r.b),
                    static_cast<unsigned char>(r.c), 0);
  if (r.len == 0) return IPPrefix(address);
  return IPPrefix(address, IPNetmask(static_cast<char>(r.len)));
}

std::string dumpText(const std::vector<Route>& routes) {
  std::string text = "   Network          Next Hop            Metric LocPrf Weight Path\n";
  for (const Route& r : routes) {
    char network[32];
    if (r.len == 0)
      std::snprintf(network, sizeof network, "%u.%u.%u.0", r.a, r.b, r.c);
    else
      std::snprintf(network, sizeof network, "%u.%u.%u.0/%u", r.a, r.b, r.c, r.len);
    char line[160];
    std::snprintf(line, sizeof line, "*> %-17s%-20s%6s %6s %6s %s\n", network, "192.0.2.1", "", "",
                  "0", r.broken ? "2 0 1 i" : "2 1 i");
    text += line;
  }
  return text;
}

// Where a prefix stands in the merge: lower address first, then the longer prefix.
bool comesBefore(const IPPrefix& x, const IPPrefix& y) {
  if (x.address().value() != y.address().value()) return x.address().value() < y.address().value();
  return x.netmask().brief() > y.netmask().brief();
}

// The way 1->2 after the routes are taken as the plain merge takes them: every cycle scans all
// dumps and picks the first prefix, the lower dump on ties. Counting uses address sets.
unsigned long long referenceCovering(const std::vector<std::vector<Route>>& dumps) {
  std::vector<size_t> next(dumps.size(), 0);
  unsigned long long covering = 0;
  IPPrefix last;
  for (;;) {
    for (size_t k = 0; k < dumps.size(); k++)
      while (next[k] < dumps[k].size() && dumps[k][next[k]].broken) next[k]++;
    int chosen = -1;
    for (size_t k = 0; k < dumps.size(); k++) {
      if (next[k] == dumps[k].size()) continue;
      if (chosen < 0 ||
          comesBefore(prefixOf(dumps[k][next[k]]), prefixOf(dumps[chosen][next[chosen]])))
        chosen = static_cast<int>(k);
    }
    if (chosen < 0) return covering;
    IPPrefix p = prefixOf(dumps[chosen][next[chosen]++]);
    if (covering == 0)
      covering = p.addresses();
    else
      covering += p.addresses() - IPSubSpace(p).intersect(IPSubSpace(last)).addresses();
    last = p;
  }
}

unsigned long long mergedCovering(const std::vector<std::vector<Route>>& dumps,
                                  bool exact = false) {
  TempFiles files;
  std::vector<std::string> paths;
  for (const auto& routes : dumps) paths.push_back(files.write(dumpText(routes)));
  std::vector<InputFile> inputs;
  for (std::string& path : paths) inputs.push_back({path, bgpFile, getIPCovering, 0, false, ""});
  BuildOptions options;
  options.exactCovering = exact;
  ASGraph graph;
  graph.addNode(1, 1);
  graph.addNode(2, 2);
  ASEdgeWeight fresh;
  graph.addEdge(1, 2, undirected, fresh, fresh);
  EXPECT_EQ(buildOk, mergeDumps(inputs, options, graph));
  return graph.storedEdge(1, 2).weight().ipCovering;
}

// The number of distinct addresses of all the routes that parse.
unsigned long long unionCount(const std::vector<std::vector<Route>>& dumps) {
  IPSubSpace all;
  for (const auto& routes : dumps) {
    for (const Route& r : routes) {
      if (!r.broken) all = all.join(IPSubSpace(prefixOf(r)));
    }
  }
  return all.addresses();
}

// Sorted dumps of random routes drawn from `lengths` over a few networks.
std::vector<std::vector<Route>> sortedDumps(std::mt19937& random,
                                            const std::vector<unsigned>& lengths) {
  auto roll = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  std::vector<std::vector<Route>> dumps(1 + roll(12));
  for (auto& routes : dumps) {
    for (size_t i = roll(12); i > 0; i--) {
      routes.push_back(
          {10 + roll(3), roll(4) * 64, roll(3), lengths[roll(lengths.size())], roll(10) == 0});
    }
    std::stable_sort(routes.begin(), routes.end(), [](const Route& x, const Route& y) {
      return comesBefore(prefixOf(x), prefixOf(y));
    });
  }
  return dumps;
}

// The exact count is the union of the routes' addresses whatever their nesting (classful and
// unaligned routes included); where no prefix nests inside another it is the classic count.
TEST(DumpMergeTest, ExactCoveringCountsTheUnion) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 40; trial++) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const auto nested = sortedDumps(random, {0, 8, 12, 16, 16, 20, 24});
    EXPECT_EQ(unionCount(nested), mergedCovering(nested, true));
    const auto flat = sortedDumps(random, {24});
    EXPECT_EQ(mergedCovering(flat, false), mergedCovering(flat, true));
  }
}

// Many dumps over one way, with nested, equal, classful and broken routes, sorted or not: the
// merge must count exactly what the scan over all dumps counts.
TEST(DumpMergeTest, ManyDumpsCountLikeTheScan) {
  std::mt19937 random(7);
  auto roll = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  for (int trial = 0; trial < 40; trial++) {
    bool sorted = trial % 2 == 0;
    size_t dumpCount = 1 + roll(24);
    std::vector<std::vector<Route>> dumps(dumpCount);
    for (auto& routes : dumps) {
      size_t count = roll(12);
      for (size_t i = 0; i < count; i++) {
        static const unsigned lengths[] = {0, 8, 12, 16, 16, 20, 24};
        Route r{10 + roll(3), roll(4) * 64, roll(2), lengths[roll(7)], roll(10) == 0};
        routes.push_back(r);
      }
      if (sorted)
        std::stable_sort(routes.begin(), routes.end(), [](const Route& x, const Route& y) {
          return comesBefore(prefixOf(x), prefixOf(y));
        });
    }
    SCOPED_TRACE("trial " + std::to_string(trial));
    EXPECT_EQ(referenceCovering(dumps), mergedCovering(dumps));
  }
}

}  // namespace
