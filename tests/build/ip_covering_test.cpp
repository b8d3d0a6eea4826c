#include "build/ip_covering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
  ASNumber as;
  bool inSet;
};

// Credits each (prefix, path, vantage) route in turn on a graph with the edges 1-2 and 2-3.
// Returns the covering of the ways "1>2 2>1 2>3 3>2", checking that both ends see one way.
std::string coveringAfter(const std::vector<std::pair<IPPrefix, std::vector<Item>>>& routes,
                          ASNumber vantage) {
  ASGraph graph;
  for (ASNumber as : {1u, 2u, 3u}) graph.addNode(as, as);
  ASEdgeWeight fresh;
  graph.addEdge(1, 2, undirected, fresh, fresh);
  graph.addEdge(2, 3, undirected, fresh, fresh);
  EdgeLookup edges(graph);
  List<ASItem> path;
  for (const auto& route : routes) {
    path = List<ASItem>();
    for (const Item& item : route.second) {
      ASItem a;
      a.AS = item.as;
      a.flags = item.inSet ? ASItem::setFlag : 0;
      path.enqueue(a);
    }
    addIPCovering(edges, route.first, path, vantage);
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
  for (const Case& c : cases) EXPECT_EQ(coveringAfter(c.routes, c.vantage), c.covering) << c.name;
}

}  // namespace
