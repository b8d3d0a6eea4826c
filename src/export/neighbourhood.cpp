#include "export/neighbourhood.h"

#include <algorithm>
#include <cstdint>

namespace {

// The graph's adjacency as flat arrays (compressed rows): the neighbours of the node at index i
// are neighbours[first[i] .. first[i + 1]). Indexes follow the ascending AS numbers.
struct Adjacency {
  std::vector<ASNumber> nodes;
  std::vector<std::uint32_t> first;
  std::vector<std::uint32_t> neighbours;

  std::uint32_t indexOf(ASNumber as) const {
    return static_cast<std::uint32_t>(std::lower_bound(nodes.begin(), nodes.end(), as) -
                                      nodes.begin());
  }
};

Adjacency buildAdjacency(const ASGraph& graph) {
  Adjacency adjacency;
  adjacency.nodes.reserve(graph.nodes());
  graph.forEachNode([&](const ASNumber&, const ASNumber& as) { adjacency.nodes.push_back(as); });
  const std::size_t count = adjacency.nodes.size();
  // Count the degrees, turn them into row starts, then place each neighbour in its row.
  std::vector<std::uint32_t> fill(count + 1, 0);
  graph.forEachEdge([&](const ASGraph::edge& copy) {
    ++fill[adjacency.indexOf(copy.from().key) + 1];
    ++fill[adjacency.indexOf(copy.to().key) + 1];
  });
  for (std::size_t i = 0; i < count; ++i) fill[i + 1] += fill[i];
  adjacency.first = fill;
  adjacency.neighbours.resize(fill[count]);
  graph.forEachEdge([&](const ASGraph::edge& copy) {
    const std::uint32_t a = adjacency.indexOf(copy.from().key);
    const std::uint32_t b = adjacency.indexOf(copy.to().key);
    adjacency.neighbours[fill[a]++] = b;
    adjacency.neighbours[fill[b]++] = a;
  });
  return adjacency;
}

}  // namespace

bool findNeighbourhood(const ASGraph& graph, ASNumber centre, unsigned depth,
                       std::vector<ASNumber>& kept) {
  kept.clear();
  const Adjacency adjacency = buildAdjacency(graph);
  const std::uint32_t start = adjacency.indexOf(centre);
  if (start == adjacency.nodes.size() || adjacency.nodes[start] != centre) return false;

  // Breadth first, one ring of hops at a time.
  std::vector<bool> seen(adjacency.nodes.size(), false);
  std::vector<std::uint32_t> ring{start};
  std::vector<std::uint32_t> next;
  seen[start] = true;
  std::vector<std::uint32_t> found{start};
  for (unsigned hop = 0; hop < depth && !ring.empty(); ++hop) {
    next.clear();
    for (std::uint32_t node : ring) {
      for (std::uint32_t k = adjacency.first[node]; k < adjacency.first[node + 1]; ++k) {
        const std::uint32_t neighbour = adjacency.neighbours[k];
        if (seen[neighbour]) continue;
        seen[neighbour] = true;
        next.push_back(neighbour);
        found.push_back(neighbour);
      }
    }
    ring.swap(next);
  }
  std::sort(found.begin(), found.end());
  kept.reserve(found.size());
  for (std::uint32_t index : found) kept.push_back(adjacency.nodes[index]);
  return true;
}
