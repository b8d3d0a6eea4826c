#include "build/line_handlers.h"

#include <vector>

#include "build/input_formats.h"

namespace {

typedef ASGraph::edge Edge;

void addNode(EdgeLookup& edges, ASNumber as) { edges.graph().addNode(as, as); }

// The edge a-b seen from a, made first when the contents ask for edges; null when it is missing
// (or either AS is no node).
Edge edgeFor(EdgeLookup& edges, ASNumber a, ASNumber b, int contents) {
  return (contents & getEdges) ? edges.findOrAdd(a, b) : edges.find(a, b);
}

// Orients the edge: x as seen from its `from` end, y as seen from the other end, which callers
// pass as the reverse of x; a self-loop is its own other end and keeps y. Both ways become
// oriented.
void orient(const Edge& e, EdgeDir x, EdgeDir y) {
  e.setDirection(x);
  ASGraph::otherCopy(e).setDirection(y);
  e.weight().oriented = true;
  e.reverseWeight().oriented = true;
}

// One more path over the way from `from` to `to`. The one end of a self-loop sees both of its
// ways, and a path over it counts on each.
void countTraversal(const Edge& e) {
  e.weight().pathCovering++;
  if (e.isLoop()) e.reverseWeight().pathCovering++;
}

// The whole part of a covering value as an unsigned 32-bit amount, wrapping like the counters
// it is added to. Values a double cannot hold as an integer count as nothing.
unsigned int wholePart(double value) {
  if (!(value > -1.0) || value >= 18446744073709551616.0) return 0;
  if (value < 0) return 0;
  return static_cast<unsigned int>(static_cast<unsigned long long>(value));
}

// Adds `amount` to the path or IP address covering of one way.
void addCovering(ASEdgeWeight& way, unsigned int amount, bool toIP) {
  if (toIP)
    way.ipCovering += amount;
  else
    way.pathCovering += amount;
}

// Adds the amounts of a path-saturation line to the ways f->t and t->f of the edge, seen from f.
// The one end of a self-loop sees both ways, and each takes both amounts.
void addSatCovering(const Edge& e, const SatParser::ParsedData& line, bool toIP) {
  unsigned int first = wholePart(*line.firstCovering);
  unsigned int second = wholePart(*line.secondCovering);
  unsigned int fromTo = line.notReversed ? first : second;
  unsigned int toFrom = line.notReversed ? second : first;
  addCovering(e.weight(), fromTo, toIP);
  addCovering(e.reverseWeight(), toFrom, toIP);
  if (e.isLoop()) {
    addCovering(e.weight(), toFrom, toIP);
    addCovering(e.reverseWeight(), fromTo, toIP);
  }
}

// The contents are asked of each pair in turn rather than over the whole path once per content,
// and the result is the same: a pair's steps reach only its own edge, whose ends and then itself
// exist once the pair has made them. So each pair's edge is found once; and when it was found
// lately its nodes exist, so they need not be made. `next(as)` gives the ASes after `first` in
// order and false after the last.
template <typename Next>
void handleSequence(EdgeLookup& edges, ASNumber first, Next next, int contents) {
  const bool makeNodes = contents & getNodes;
  ASNumber previous = first;
  ASNumber current = 0;
  if (!(contents & (getEdges | getDirections | getPathCovering))) {
    if (!makeNodes) return;
    addNode(edges, previous);
    while (next(current)) addNode(edges, current);
    return;
  }
  const bool makeEdges = contents & getEdges;
  if (!next(current)) {
    if (makeNodes) addNode(edges, previous);
    return;
  }
  do {
    if (!edges.isHop(previous, current)) {
      // A path of one AS repeated still names the AS.
      if (makeNodes) addNode(edges, current);
      continue;
    }
    Edge e = edges.recent(previous, current);
    if (!e) {
      if (makeNodes) {
        addNode(edges, previous);
        addNode(edges, current);
      }
      e = makeEdges ? edges.findOrAdd(previous, current) : edges.find(previous, current);
    }
    if (e) {
      edges.noteReached();
      if (contents & getDirections) orient(e, forward, backward);
      if (contents & getPathCovering) countTraversal(e);
    }
    previous = current;
  } while (next(current));
}

}  // namespace

void handlePathLine(EdgeLookup& edges, PathParser::ParsedData& line, int contents) {
  List<ASNumber>& path = line.path;
  if (path.isEmpty()) return;
  path.goToFirst();
  handleSequence(
      edges, path.current(),
      [&path](ASNumber& as) {
        if (!path.next()) return false;
        as = path.current();
        return true;
      },
      contents);
}

void handleASPath(EdgeLookup& edges, const ASNumber* path, std::size_t length, int contents) {
  if (length == 0) return;
  std::size_t i = 1;
  handleSequence(
      edges, path[0],
      [path, length, &i](ASNumber& as) {
        if (i == length) return false;
        as = path[i++];
        return true;
      },
      contents);
}

std::size_t routePathASes(List<ASItem>& path, ASNumber vantage, ASNumber* ases) {
  std::size_t length = 0;
  if (vantage != 0) ases[length++] = vantage;
  constexpr unsigned char leftOut = ASItem::setFlag | ASItem::confedFlag;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) {
    const ASItem item = path.current();
    if (item.flags & leftOut) continue;
    // The vantage stands in front only when the path does not already start with it.
    if (length == 1 && vantage != 0 && item.AS == vantage) continue;
    ases[length++] = item.AS;
  }
  return length;
}

void handleRoutePath(EdgeLookup& edges, List<ASItem>& path, ASNumber vantage, int contents) {
  // Paths of real routes are short; a longer one takes the slow road.
  constexpr std::size_t kInPlace = 256;
  ASNumber inPlace[kInPlace];
  std::vector<ASNumber> longPath;
  ASNumber* ases = inPlace;
  if (path.len() + 1 > kInPlace) {
    longPath.resize(path.len() + 1);
    ases = longPath.data();
  }
  handleASPath(edges, ases, routePathASes(path, vantage, ases), contents);
}

void handleVantageLine(EdgeLookup& edges, const VantageParser::ParsedData& line, int contents) {
  handleRelationship(edges, line.from, line.to, line.peering, contents);
}

void handleRelationship(EdgeLookup& edges, ASNumber from, ASNumber to, bool peering, int contents) {
  if (contents & getNodes) {
    addNode(edges, from);
    addNode(edges, to);
  }
  if (!(contents & (getEdges | getDirections))) return;
  const Edge e = edgeFor(edges, from, to, contents);
  if (!e) return;
  edges.noteReached();
  if (!(contents & getDirections)) return;
  if (peering)
    orient(e, undirected, undirected);
  else
    orient(e, forward, backward);
}

void handleUnknownLine(EdgeLookup& edges, const UnknownParser::ParsedData& line, int contents) {
  if (contents & getNodes) {
    addNode(edges, line.from);
    addNode(edges, line.to);
  }
  if (contents & getEdges) edges.findOrAdd(line.from, line.to);
}

void handleSatLine(EdgeLookup& edges, const SatParser::ParsedData& line, int contents) {
  if (line.candidatePeering || line.badPath) return;
  if (contents & getNodes) {
    addNode(edges, line.from);
    addNode(edges, line.to);
  }
  const bool hasCovering = line.firstCovering.has_value() && line.secondCovering.has_value();
  const int edgeContents =
      getEdges | getDirections | (hasCovering ? getPathCovering | getIPCovering : 0);
  if (!(contents & edgeContents)) return;
  const Edge e = edgeFor(edges, line.from, line.to, contents);
  if (!e) return;
  edges.noteReached();
  if (contents & getDirections) orient(e, forward, backward);
  if (hasCovering && (contents & getPathCovering)) addSatCovering(e, line, false);
  if (hasCovering && (contents & getIPCovering)) addSatCovering(e, line, true);
}
