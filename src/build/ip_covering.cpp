#include "build/ip_covering.h"

namespace {

// Adds to one way's counter the addresses of `prefix` it did not share with the prefix counted
// last on that way, then remembers `prefix`. A counter still at 0 takes the whole prefix, so a
// way whose covering came from elsewhere starts deduplicating from its first dump prefix.
void credit(ASEdgeWeight& way, const RememberedPrefix& prefix, unsigned long long prefixAddresses) {
  if (way.ipCovering == 0) {
    way.ipCovering = prefixAddresses;
  } else {
    way.ipCovering += prefixAddresses - way.lastPrefix.sharedAddresses(prefix);
  }
  way.lastPrefix = prefix;
}

// The exact count keeps in lastPrefix the run of addresses counted last: from the first address
// of the prefix that began it to the last address counted. Prefixes come with non-decreasing
// first addresses, so every address counted before lies at or below the run's end, and a prefix
// adds exactly its addresses past that end. A run whose first address lies past its last is
// no run yet.
const RememberedPrefix kNoRun{1, 0};

// With address ranges the run keeps its meaning, all addresses of the ranges in it counted, and
// a prefix adds only the addresses of the ranges past the run's end.
std::uint64_t addressesIn(std::uint32_t first, std::uint32_t last, const AddressRanges* ranges) {
  return ranges == nullptr ? std::uint64_t(last) - first + 1 : ranges->countWithin(first, last);
}

void creditExactly(ASEdgeWeight& way, const RememberedPrefix& prefix, const AddressRanges* ranges) {
  RememberedPrefix& run = way.lastPrefix;
  if (run.first > run.last || prefix.first > run.last) {
    way.ipCovering += addressesIn(prefix.first, prefix.last, ranges);
    run = prefix;
  } else if (prefix.last > run.last) {
    way.ipCovering += addressesIn(run.last + 1, prefix.last, ranges);
    run.last = prefix.last;
  }
}

}  // namespace

void startExactCovering(ASGraph& graph) {
  graph.forEachEdge([](const ASGraph::edge& copy) {
    copy.weight().lastPrefix = kNoRun;
    copy.reverseWeight().lastPrefix = kNoRun;
  });
}

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, List<ASItem>& path, ASNumber vantage,
                   bool exact, const AddressRanges* ranges) {
  if (path.len() < 2) return;
  const unsigned long long prefixAddresses = prefix.addresses();
  const RememberedPrefix remembered =
      RememberedPrefix::of(prefix.address().value(), prefix.netmask().value());
  path.goToFirst();
  ASNumber previous;
  bool more;
  if (vantage != 0 && vantage != path.current().AS) {
    previous = vantage;
    more = true;
  } else {
    previous = path.current().AS;
    more = path.next();
  }
  while (more) {
    const ASItem item = path.current();
    more = path.next();
    // The members of an AS set are bridged over: the walk joins the ASes on either side.
    if (item.flags & ASItem::setFlag) continue;
    if (!edges.isHop(previous, item.AS)) continue;
    const ASGraph::edge nearVantage = edges.find(previous, item.AS);
    if (nearVantage) {
      edges.noteReached();
      // The route travels from item.AS toward previous: the reverse way as seen from previous.
      // The one end of a self-loop sees both ways, and each is credited.
      if (exact) {
        creditExactly(nearVantage.reverseWeight(), remembered, ranges);
        if (nearVantage.isLoop()) creditExactly(nearVantage.weight(), remembered, ranges);
      } else {
        credit(nearVantage.reverseWeight(), remembered, prefixAddresses);
        if (nearVantage.isLoop()) credit(nearVantage.weight(), remembered, prefixAddresses);
      }
    }
    previous = item.AS;
  }
}
