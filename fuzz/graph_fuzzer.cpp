// Runs the operations the bytes spell on a graph and on a plain ordered map of the same edges,
// and stops the run where they disagree: what an edge holds seen from either end, the counts,
// and the order of the walks. Keys are drawn so that some fall in the direct key table and some
// outside it, on both sides.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>

#include "containers/graph.h"

namespace {

using G = Graph<int, std::uint32_t, long>;

// An edge as the map holds it, seen from its smaller key.
struct Expected {
  EdgeDir direction;
  std::uint32_t way;      // from the smaller key
  std::uint32_t reverse;  // toward it
};

long keyFrom(std::uint8_t byte) {
  static const long far[] = {-70000, -1, 65535, 65536, 4294967295L, 1L << 40};
  return byte < 250 ? long(byte % 50) * 1000 : far[(byte - 250) % 6];
}

void check(bool condition) {
  if (!condition) abort();
}

// What the graph shows from `from` must be the map's entry, turned around when `from` is the
// larger key.
void checkSeen(const G& g, long from, long to, const std::map<std::pair<long, long>, Expected>& m) {
  const bool turned = from > to;
  const auto found = m.find(turned ? std::make_pair(to, from) : std::make_pair(from, to));
  const G::edge e = g.storedEdge(from, to);
  if (found == m.end()) {
    check(!e);
    return;
  }
  check(static_cast<bool>(e));
  const Expected& x = found->second;
  check(e.from().key == from && e.to().key == to);
  check(e.direction() == (turned && from != to ? reverse(x.direction) : x.direction));
  check(e.weight() == (turned ? x.reverse : x.way));
  check(e.reverseWeight() == (turned ? x.way : x.reverse));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  G g;
  std::map<long, int> nodes;
  std::map<std::pair<long, long>, Expected> edges;
  for (size_t i = 0; i + 3 < size; i += 4) {
    const long a = keyFrom(bytes[i + 1]);
    const long b = keyFrom(bytes[i + 2]);
    const std::uint8_t op = bytes[i];
    const std::uint32_t w = bytes[i + 3];
    if (op % 4 == 0) {
      check(g.addNode(static_cast<int>(w), a) == (nodes.count(a) == 0));
      nodes.emplace(a, static_cast<int>(w));
      continue;
    }
    const bool known = nodes.count(a) != 0 && nodes.count(b) != 0;
    const bool turned = a > b;
    const auto key = turned ? std::make_pair(b, a) : std::make_pair(a, b);
    auto found = edges.find(key);
    if (op % 4 == 1) {
      // addEdge with a direction seen from a and weights (w, w + 1) from a.
      const EdgeDir d = static_cast<EdgeDir>((op >> 2) % 3);
      const int result = g.addEdge(a, b, d, w, w + 1);
      if (!known) {
        check(result == 0);
      } else if (found == edges.end()) {
        check(result == 3);
        const EdgeDir fromSmaller = turned && a != b ? reverse(d) : d;
        edges[key] = Expected{fromSmaller, turned ? w + 1 : w, turned ? w : w + 1};
      } else {
        const EdgeDir stored =
            turned && a != b ? reverse(found->second.direction) : found->second.direction;
        EdgeDir next = undirected;
        bool keep = false;
        if (d == undirected) {
          keep = stored == undirected;
        } else if (stored == undirected) {
          next = d;
        } else {
          keep = stored == d;
        }
        check(result == (keep ? 1 : 2));
        if (!keep) {
          found->second = Expected{turned && a != b ? reverse(next) : next, turned ? w + 1 : w,
                                   turned ? w : w + 1};
        }
      }
    } else if (op % 4 == 2) {
      const G::edge e = g.ensureEdge(a, b);
      check(static_cast<bool>(e) == known);
      if (known && found == edges.end()) edges[key] = Expected{undirected, 0, 0};
      if (known) {
        // One more over the way a->b, and for a self-loop over its reverse as well.
        e.weight() += 1;
        found = edges.find(key);
        (turned ? found->second.reverse : found->second.way) += 1;
        if (e.isLoop()) {
          e.reverseWeight() += 1;
          found->second.reverse += 1;
        }
      }
    }
    checkSeen(g, a, b, edges);
    checkSeen(g, b, a, edges);
  }
  check(g.nodes() == nodes.size() && g.edges() == edges.size());
  auto expectedEdge = edges.begin();
  g.forEachEdge([&](const G::edge& e) {
    check(expectedEdge != edges.end());
    check(e.from().key == expectedEdge->first.first && e.to().key == expectedEdge->first.second);
    check(e.weight() == expectedEdge->second.way);
    ++expectedEdge;
  });
  check(expectedEdge == edges.end());
  auto expectedNode = nodes.begin();
  g.forEachNode([&](const int& value, const long& key) {
    check(expectedNode != nodes.end() && expectedNode->first == key);
    check(expectedNode->second == value);
    ++expectedNode;
  });
  check(expectedNode == nodes.end());
  return 0;
}
