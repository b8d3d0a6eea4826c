#include "build/ip_covering.h"

namespace {

// Adds to one way's counter the addresses of `prefix` it did not share with the prefix counted
// last on that way, then remembers `prefix`. A counter still at 0 takes the whole prefix, so a
// way whose covering came from elsewhere starts deduplicating from its first dump prefix.
void credit(ASEdgeWeight& way, const RememberedPrefix& prefix,
            unsigned long long prefixAddresses) {
  if (way.ipCovering == 0) {
    way.ipCovering = prefixAddresses;
  } else {
    way.ipCovering += prefixAddresses - way.lastPrefix.sharedAddresses(prefix);
  }
  way.lastPrefix = prefix;
}

}  // namespace

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, List<bgpParser::ASItem>& path,
                   ASNumber vantage) {
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
    const bgpParser::ASItem item = path.current();
    more = path.next();
    // The members of an AS set are bridged over: the walk joins the ASes on either side.
    if (item.flags & bgpParser::ASItem::setFlag) continue;
    const ASGraph::edge nearVantage = edges.find(previous, item.AS);
    if (nearVantage) {
      // The route travels from item.AS toward previous: the reverse way as seen from previous.
      // The one end of a self-loop sees both ways, and each is credited.
      credit(nearVantage.reverseWeight(), remembered, prefixAddresses);
      if (nearVantage.isLoop()) credit(nearVantage.weight(), remembered, prefixAddresses);
    }
    previous = item.AS;
  }
}
