#include "build/graph_sum.h"

#include <cerrno>
#include <cstring>
#include <limits>

#include "asgraph/graph_input.h"

namespace {

// Adds `part` to `total`; false when the sum does not fit its type.
template <typename T>
bool addWithin(T& total, T part) {
  if (part > std::numeric_limits<T>::max() - total) return false;
  total += part;
  return true;
}

std::string edgeName(const ASGraph::edge& e) {
  return std::to_string(e.from().key) + " " + std::to_string(e.to().key);
}

}  // namespace

GraphSum::GraphSum(ASGraph& sum, ASWidth width, AddressFamily family)
    : sum_(sum), width_(width), family_(family), disagreed_(sum.edges(), false) {
  sum_.setFamily(family);
}

GraphSum::Result GraphSum::add(const char* name, std::string& reason) {
  GraphInput input;
  if (!input.open(name)) {
    reason = std::strerror(errno);
    return Result::unopened;
  }
  ASGraph part;
  // The reader gives the part the family of a type line it knows, refused or not.
  part.setFamily(family_);
  if (!input.read(part, reason, width_, graphsOf(family_))) {
    return part.family() == family_ ? Result::invalid : Result::otherFamily;
  }
  if (part.isDifferential()) {
    reason = "it is a differential graph";
    return Result::differential;
  }
  return addGraph(part, reason);
}

GraphSum::Result GraphSum::addGraph(ASGraph& part, std::string& reason) {
  sum_.setSourceFiles(part.getSourceFiles(), false);
  part.forEachNode(
      [this](const ASNumber& value, const ASNumber& key) { sum_.addNode(value, key); });
  bool fits = true;
  part.forEachEdge([this, &fits, &reason](const ASGraph::edge& e) {
    if (fits) fits = addEdge(e, reason);
  });
  return fits ? Result::ok : Result::overflow;
}

// The part's edge `from` its smaller AS, added to the same edge of the sum seen from there.
bool GraphSum::addEdge(const ASGraph::edge& from, std::string& reason) {
  const std::uint32_t edgesBefore = sum_.edges();
  const ASGraph::edge into = sum_.ensureEdge(from.from().key, from.to().key);
  const bool created = sum_.edges() != edgesBefore;
  if (created) disagreed_.push_back(false);

  ASEdgeWeight& way = into.weight();
  ASEdgeWeight& back = into.reverseWeight();
  if (!addWithin(way.pathCovering, from.weight().pathCovering) ||
      !addWithin(back.pathCovering, from.reverseWeight().pathCovering) ||
      !addWithin(way.ipCovering, from.weight().ipCovering) ||
      !addWithin(back.ipCovering, from.reverseWeight().ipCovering)) {
    reason = "the covering of edge " + edgeName(from) + " would exceed its largest value";
    return false;
  }

  // A new edge, or one no graph has oriented yet, takes this graph's direction as it is; an
  // oriented edge keeps its orientation unless this graph oriented it another way.
  const bool partOriented = from.weight().oriented;
  if (created || (!way.oriented && !disagreed_[into.number()])) {
    if (created || partOriented) into.setDirection(from.direction());
    way.oriented = back.oriented = partOriented;
  } else if (partOriented && way.oriented && into.direction() != from.direction()) {
    into.setDirection(undirected);
    way.oriented = back.oriented = false;
    disagreed_[into.number()] = true;
    ++conflicts_;
  }
  return true;
}
