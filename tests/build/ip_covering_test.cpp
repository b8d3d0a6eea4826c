#include "build/ip_covering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Item {
  ASNumber as;
  bool inSet;
};

// How a route's path reaches the covering: as a parser's list, as its array, or as the edges
// findWalkHops found for its walk.
enum class PathForm { list, array, hops };

// Credits each (prefix, path, vantage) route in turn on a graph with the edges 1-2 and 2-3, the
// path given in `form`. Returns the covering of the ways "1>2 2>1 2>3 3>2", checking that both
// ends see one way.
std::string coveringAfter(const std::vector<std::pair<IPPrefix, std::vector<Item>>>& routes,
                          ASNumber vantage, PathForm form) {
  ASGraph graph;
  for (ASNumber as : {1u, 2u, 3u}) graph.addNode(as, as);
  ASEdgeWeight fresh;
  graph.addEdge(1, 2, undirected, fresh, fresh);
  graph.addEdge(2, 3, undirected, fresh, fresh);
  EdgeLookup edges(graph);
  List<ASItem> path;
  std::vector<ASItem> items;
  for (const auto& route : routes) {
    path = List<ASItem>();
    items.clear();
    for (const Item& item : route.second) {
      ASItem a;
      a.AS = item.as;
      a.flags = item.inSet ? ASItem::setFlag : 0;
      path.enqueue(a);
      items.push_back(a);
    }
    if (form == PathForm::array) {
      addIPCovering(edges, route.first, items.data(), items.size(), vantage, false, nullptr);
    } else if (form == PathForm::list) {
      addIPCovering(edges, route.first, path, vantage);
    } else {
      // Found by a lookup of their own, as a reader thread does.
      EdgeLookup finder(graph);
      std::vector<ASNumber> ases;
      coveredPathASes(items.data(), items.size(), vantage, ases);
      std::vector<ASGraph::edge> hops(ases.size());
      findWalkHops(finder, ases.data(), ases.size(), hops.data());
      const std::size_t count = ases.empty() ? 0 : ases.size() - 1;
      addIPCovering(edges, route.first, hops.data(), count, false, nullptr);
    }
  }
  std::string out;
  for (auto way : {std::make_pair(1u, 2u), {2u, 1u}, {2u, 3u}, {3u, 2u}}) {
    const ASGraph::edge seen = graph.storedEdge(way.first, way.second);
    EXPECT_EQ(&seen.weight(), &ASGraph::otherCopy(seen).reverseWeight());
    out += std::to_string(seen.weight().ipCovering) + " ";
  }
  return out;
}

IPPrefix prefix(unsigned char a, unsigned char b, char length) {
  return IPPrefix(IPAddress(a, b, 0, 0), IPNetmask(length));
}

// The walk credits the way toward the vantage point, bridges AS sets, puts the vantage in
// front unless the path starts with it, and counts an address again only when another prefix
// was counted on the way in between.
TEST(IPCoveringTest, WaysCountedTowardTheVantage) {
  const IPPrefix p8 = prefix(10, 0, 8), p16a = prefix(10, 1, 16), p16b = prefix(10, 2, 16);
  struct Case {
    const char* name;
    std::vector<std::pair<IPPrefix, std::vector<Item>>> routes;
    ASNumber vantage;
    const char* covering;  // ways 1>2 2>1 2>3 3>2
  } cases[] = {
      {"route over 2 1 credits 1>2", {{p8, {{2, false}, {1, false}}}}, 0, "16777216 0 0 0 "},
      {"whole path", {{p8, {{1, false}, {2, false}, {3, false}}}}, 0, "0 16777216 0 16777216 "},
      {"set bridged", {{p8, {{3, false}, {7, true}, {2, false}}}}, 0, "0 0 16777216 0 "},
      {"no edge between 3 and 1",
       {{p8, {{1, false}, {3, false}, {2, false}}}},
       0,
       "0 0 16777216 0 "},
      {"vantage in front", {{p8, {{2, false}, {3, false}}}}, 1, "0 16777216 0 16777216 "},
      {"vantage already first", {{p8, {{1, false}, {2, false}}}}, 1, "0 16777216 0 0 "},
      {"single AS counts nothing", {{p8, {{2, false}}}}, 1, "0 0 0 0 "},
      {"contained adds nothing",
       {{p8, {{2, false}, {1, false}}}, {p16a, {{2, false}, {1, false}}}},
       0,
       "16777216 0 0 0 "},
      {"only the last prefix is remembered",
       {{p8, {{2, false}, {1, false}}},
        {p16a, {{2, false}, {1, false}}},
        {p16b, {{2, false}, {1, false}}}},
       0,
       "16842752 0 0 0 "},
      {"wider after narrower adds the rest",
       {{p16a, {{2, false}, {1, false}}}, {prefix(10, 0, 15), {{2, false}, {1, false}}}},
       0,
       "131072 0 0 0 "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(coveringAfter(c.routes, c.vantage, PathForm::list), c.covering) << c.name;
    EXPECT_EQ(coveringAfter(c.routes, c.vantage, PathForm::array), c.covering)
        << c.name << " (array)";
    EXPECT_EQ(coveringAfter(c.routes, c.vantage, PathForm::hops), c.covering)
        << c.name << " (hops)";
  }
}

// Random nested IPv6 prefixes over random paths of a small graph, credited in merge order, give
// each way the size of the exact union of its prefixes' /64 units, computed here by brute force
// (sorting and joining intervals), however the prefixes nest, repeat or run past /64.
TEST(IPCoveringTest, IPv6UnitsAreTheExactUnionPerWay) {
  std::mt19937_64 random(20261207);
  for (int round = 0; round < 20; ++round) {
    ASGraph graph;
    ASEdgeWeight fresh;
    for (ASNumber as = 1; as <= 5; ++as) graph.addNode(as, as);
    for (ASNumber a = 1; a <= 5; ++a) {
      for (ASNumber b = a; b <= 5; ++b) graph.addEdge(a, b, undirected, fresh, fresh);
    }
    EdgeLookup edges(graph);
    struct Route {
      IPv6Prefix prefix;
      std::vector<ASNumber> path;
    };
    std::vector<Route> routes;
    // A few roots, each with nested and repeated children, near the top of the space too.
    for (int k = 0; k < 300; ++k) {
      std::uint8_t bytes[16];
      for (std::uint8_t& b : bytes) b = k == 0 ? 0xff : static_cast<std::uint8_t>(random());
      const std::uint8_t tops[] = {0x20, 0x2a, 0xff};  // the last unit of the space too
      bytes[0] = tops[k % 3];
      bytes[1] &= 0x3;  // few distinct high bytes, so prefixes nest
      const unsigned lengths[] = {3, 8, 16, 29, 32, 48, 63, 64, 65, 128};
      const unsigned length = lengths[random() % 10];
      Route route{IPv6Prefix::fromBytes(bytes, length), {}};
      const std::size_t hops = 1 + random() % 4;
      for (std::size_t h = 0; h < hops; ++h) route.path.push_back(1 + random() % 5);
      routes.push_back(route);
    }
    std::stable_sort(routes.begin(), routes.end(),
                     [](const Route& a, const Route& b) { return a.prefix.before(b.prefix); });
    std::map<std::pair<ASNumber, ASNumber>, std::vector<std::pair<std::uint64_t, std::uint64_t>>>
        expected;
    for (const Route& route : routes) {
      List<ASItem> path;
      for (ASNumber as : route.path) {
        ASItem item;
        item.AS = as;
        path.enqueue(item);
      }
      ASNumber from = 0, to = 0;
      ASSERT_TRUE(addIPv6Covering(edges, route.prefix, path, 0, from, to));
      for (std::size_t h = 1; h < route.path.size(); ++h) {
        if (route.path[h] == route.path[h - 1]) continue;  // a repeat makes no self-loop walk
        expected[{route.path[h], route.path[h - 1]}].push_back(
            {route.prefix.firstUnit(), route.prefix.lastUnit()});
      }
    }
    for (auto& way : expected) {
      std::sort(way.second.begin(), way.second.end());
      std::uint64_t units = 0, end = 0;
      bool open = false;
      for (const auto& interval : way.second) {
        if (open && interval.second <= end) continue;
        const std::uint64_t first = open && interval.first <= end ? end + 1 : interval.first;
        units += interval.second - first + 1;
        end = interval.second;
        open = true;
      }
      EXPECT_EQ(graph.storedEdge(way.first.first, way.first.second).weight().ipCovering, units)
          << "round " << round << " way " << way.first.first << ">" << way.first.second;
    }
  }
}

// ::/0 credits nothing; two halves of the space would pass 2^64 - 1 and name the way instead.
TEST(IPCoveringTest, IPv6WholeSpaceIsRefusedNotWrapped) {
  ASGraph graph;
  ASEdgeWeight fresh;
  graph.addNode(1, 1);
  graph.addNode(2, 2);
  graph.addEdge(1, 2, undirected, fresh, fresh);
  EdgeLookup edges(graph);
  List<ASItem> path;
  for (ASNumber as : {1u, 2u}) {
    ASItem item;
    item.AS = as;
    path.enqueue(item);
  }
  const std::uint8_t low[16] = {0}, high[16] = {0x80};
  ASNumber from = 0, to = 0;
  EXPECT_TRUE(addIPv6Covering(edges, IPv6Prefix::fromBytes(low, 0), path, 0, from, to));
  EXPECT_EQ(graph.storedEdge(2, 1).weight().ipCovering, 0u);
  EXPECT_TRUE(addIPv6Covering(edges, IPv6Prefix::fromBytes(low, 1), path, 0, from, to));
  EXPECT_FALSE(addIPv6Covering(edges, IPv6Prefix::fromBytes(high, 1), path, 0, from, to));
  EXPECT_EQ(graph.storedEdge(2, 1).weight().ipCovering, std::uint64_t(1) << 63);
  EXPECT_EQ(from, 2u);
  EXPECT_EQ(to, 1u);
}

}  // namespace
