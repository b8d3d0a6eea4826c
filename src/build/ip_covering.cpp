#include "build/ip_covering.h"

namespace {

// Adds to one way's counter the addresses of `prefix` it did not share with the prefix counted
// last on that way, then remembers `prefix`. A counter still at 0 takes the whole prefix, so a
// way whose covering came from elsewhere starts deduplicating from its first dump prefix.
void credit(ASEdgeWeight& way, const IPPrefix& prefix, unsigned long long prefixAddresses) {
  if (way.ipCovering[0] == 0)
    way.ipCovering[0] = prefixAddresses;
  else
    way.ipCovering[0] += prefixAddresses - prefix.sharedAddresses(way.lastPrefix);
  way.lastPrefix = prefix;
}

}  // namespace

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, List<bgpParser::ASItem>& path,
                   ASNumber vantage) {
  if (path.len() < 2) return;
  const unsigned long long prefixAddresses = prefix.addresses();
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
    const bgpParser::ASItem item = path.current();
    more = path.next();
    // The members of an AS set are bridged over: the walk joins the ASes on either side.
    if (item.flags & bgpParser::ASItem::setFlag) continue;
    ASGraph::edge* nearVantage = edges.find(previous, item.AS);
    if (nearVantage != nullptr) {
      // The route travels from item.AS toward previous: that way is the reverse weight of the
      // copy at previous and the weight of the copy at item.AS.
      credit(nearVantage->reverseWeight, prefix, prefixAddresses);
      credit(ASGraph::otherCopy(nearVantage)->weight, prefix, prefixAddresses);
    }
    previous = item.AS;
  }
}
