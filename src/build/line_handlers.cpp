#include "build/line_handlers.h"

#include <vector>

#include "build/input_formats.h"

namespace {

typedef ASGraph::edge StoredEdge;

void addNode(EdgeLookup& edges, ASNumber as) { edges.graph().addNode(as, as); }

// Inserts the edge a-b, undirected with default weights, unless it exists already; the graph
// itself refuses an edge whose ends are not both nodes.
void addEdgeIfNew(EdgeLookup& edges, ASNumber a, ASNumber b) {
  if (edges.find(a, b) != nullptr) return;
  static const ASEdgeWeight fresh;
  edges.graph().addEdge(a, b, undirected, fresh, fresh);
}

// Orients an existing edge: x in the copy at a, y in the copy at b. For a self-loop both
// steps reach the same copy, which keeps y.
void orient(EdgeLookup& edges, ASNumber a, ASNumber b, edge_dir x, edge_dir y) {
  StoredEdge* atA = edges.find(a, b);
  if (atA == nullptr) return;
  atA->direction = x;
  atA->weight.oriented = true;
  atA->reverseWeight.oriented = true;
  StoredEdge* atB = ASGraph::otherCopy(atA);
  atB->direction = y;
  atB->weight.oriented = true;
  atB->reverseWeight.oriented = true;
}

// One more path over the way a->b, counted in both copies of the edge.
void countTraversal(EdgeLookup& edges, ASNumber a, ASNumber b) {
  StoredEdge* atA = edges.find(a, b);
  if (atA == nullptr) return;
  atA->weight.pathCovering[0]++;
  ASGraph::otherCopy(atA)->reverseWeight.pathCovering[0]++;
}

// The whole part of a covering value as an unsigned 32-bit amount, wrapping like the counters
// it is added to. Values a double cannot hold as an integer count as nothing.
unsigned int wholePart(double value) {
  if (!(value > -1.0) || value >= 18446744073709551616.0) return 0;
  if (value < 0) return 0;
  return static_cast<unsigned int>(static_cast<unsigned long long>(value));
}

// Adds the amounts of a path-saturation line to the ways f->t and t->f of an existing edge.
void addSatCovering(EdgeLookup& edges, const satParser::parsed_data& line, bool toIP) {
  unsigned int first = wholePart(*line.firstCovering);
  unsigned int second = wholePart(*line.secondCovering);
  unsigned int fromTo = line.notReversed ? first : second;
  unsigned int toFrom = line.notReversed ? second : first;
  StoredEdge* atFrom = edges.find(line.from, line.to);
  if (atFrom == nullptr) return;
  if (toIP) {
    atFrom->weight.ipCovering[0] += fromTo;
    atFrom->reverseWeight.ipCovering[0] += toFrom;
  } else {
    atFrom->weight.pathCovering[0] += fromTo;
    atFrom->reverseWeight.pathCovering[0] += toFrom;
  }
  StoredEdge* atTo = ASGraph::otherCopy(atFrom);
  if (toIP) {
    atTo->weight.ipCovering[0] += toFrom;
    atTo->reverseWeight.ipCovering[0] += fromTo;
  } else {
    atTo->weight.pathCovering[0] += toFrom;
    atTo->reverseWeight.pathCovering[0] += fromTo;
  }
}

// Calls pairAction(a, b) for every two consecutive ASes of a path, in line order.
template <typename Action>
void forEachPair(List<ASNumber>& path, Action pairAction) {
  if (path.len() < 2) return;
  path.goToFirst();
  ASNumber previous = path.current();
  while (path.next()) {
    ASNumber current = path.current();
    pairAction(previous, current);
    previous = current;
  }
}

}  // namespace

void handlePathLine(EdgeLookup& edges, pathParser::parsed_data& line, int contents) {
  List<ASNumber>& path = line.path;
  if ((contents & getNodes) && !path.isEmpty()) {
    path.goToFirst();
    do addNode(edges, path.current());
    while (path.next());
  }
  if (contents & getEdges)
    forEachPair(path, [&](ASNumber a, ASNumber b) { addEdgeIfNew(edges, a, b); });
  if (contents & getDirections)
    forEachPair(path, [&](ASNumber a, ASNumber b) {
      orient(edges, a, b, forward, backward);
    });
  if (contents & getPathCovering)
    forEachPair(path, [&](ASNumber a, ASNumber b) { countTraversal(edges, a, b); });
}

void handleVantageLine(EdgeLookup& edges, const vantageParser::parsed_data& line, int contents) {
  handleRelationship(edges, line.from, line.to, line.peering, contents);
}

void handleRelationship(EdgeLookup& edges, ASNumber from, ASNumber to, bool peering,
                        int contents) {
  if (contents & getNodes) {
    addNode(edges, from);
    addNode(edges, to);
  }
  if (contents & getEdges) addEdgeIfNew(edges, from, to);
  if (contents & getDirections) {
    if (peering)
      orient(edges, from, to, undirected, undirected);
    else
      orient(edges, from, to, forward, backward);
  }
}

void handleASPath(EdgeLookup& edges, const ASNumber* path, std::size_t length, int contents) {
  if (contents & getNodes) {
    for (std::size_t i = 0; i < length; ++i) addNode(edges, path[i]);
  }
  if (length < 2) return;
  if (contents & getEdges) {
    for (std::size_t i = 1; i < length; ++i) addEdgeIfNew(edges, path[i - 1], path[i]);
  }
  if (contents & getDirections) {
    for (std::size_t i = 1; i < length; ++i) orient(edges, path[i - 1], path[i], forward, backward);
  }
  if (contents & getPathCovering) {
    for (std::size_t i = 1; i < length; ++i) countTraversal(edges, path[i - 1], path[i]);
  }
}

void handleRoutePath(EdgeLookup& edges, List<bgpParser::ASItem>& path, ASNumber vantage,
                     int contents) {
  // Paths of real routes are short; a longer one takes the slow road.
  constexpr std::size_t kInPlace = 256;
  ASNumber inPlace[kInPlace];
  std::vector<ASNumber> longPath;
  ASNumber* ases = inPlace;
  if (path.len() + 1 > kInPlace) {
    longPath.resize(path.len() + 1);
    ases = longPath.data();
  }
  std::size_t length = 0;
  if (vantage != 0) ases[length++] = vantage;
  constexpr unsigned char leftOut = bgpParser::ASItem::setFlag | bgpParser::ASItem::confedFlag;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) {
    const bgpParser::ASItem item = path.current();
    if (item.flags & leftOut) continue;
    // The vantage stands in front only when the path does not already start with it.
    if (length == 1 && vantage != 0 && item.AS == vantage) continue;
    ases[length++] = item.AS;
  }
  handleASPath(edges, ases, length, contents);
}

void handleUnknownLine(EdgeLookup& edges, const unknownParser::parsed_data& line, int contents) {
  if (contents & getNodes) {
    addNode(edges, line.from);
    addNode(edges, line.to);
  }
  if (contents & getEdges) addEdgeIfNew(edges, line.from, line.to);
}

void handleSatLine(EdgeLookup& edges, const satParser::parsed_data& line, int contents) {
  if (line.candidatePeering || line.badPath) return;
  if (contents & getNodes) {
    addNode(edges, line.from);
    addNode(edges, line.to);
  }
  if (contents & getEdges) addEdgeIfNew(edges, line.from, line.to);
  if (contents & getDirections) orient(edges, line.from, line.to, forward, backward);
  bool hasCovering = line.firstCovering.has_value() && line.secondCovering.has_value();
  if (hasCovering && (contents & getPathCovering)) addSatCovering(edges, line, false);
  if (hasCovering && (contents & getIPCovering)) addSatCovering(edges, line, true);
}
