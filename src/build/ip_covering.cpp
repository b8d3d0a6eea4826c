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

namespace {

// Hands `visit` the ASes the covering walk goes through, in order: the first (the vantage point
// unless the path starts with it, else the path's first AS), then the path's ASes after it but
// the members of AS sets, which the walk bridges over, joining the ASes on either side. A path
// of fewer than two items gives none. Stops when visit returns false.
// `items` gives the path: size(), first() and next(item), false past the last.
template <class Items, class Visit>
void forEachWalkAS(Items items, ASNumber vantage, Visit visit) {
  if (items.size() < 2) return;
  ASItem item = items.first();
  const bool vantageInFront = vantage != 0 && vantage != item.AS;
  if (!visit(vantageInFront ? vantage : item.AS)) return;
  // In front of the path, the vantage point leaves its first AS to the walk.
  bool more = vantageInFront || items.next(item);
  for (; more; more = items.next(item)) {
    if ((item.flags & ASItem::setFlag) == 0 && !visit(item.AS)) return;
  }
}

// A path as a parser's list, and as its array.
class ListItems {
 public:
  explicit ListItems(List<ASItem>& path) : path_(path) {}
  std::uint64_t size() const { return path_.len(); }
  ASItem first() {
    path_.goToFirst();
    return path_.current();
  }
  bool next(ASItem& item) {
    if (!path_.next()) return false;
    item = path_.current();
    return true;
  }

 private:
  List<ASItem>& path_;
};

class ArrayItems {
 public:
  ArrayItems(const ASItem* items, std::size_t count) : items_(items), count_(count) {}
  std::size_t size() const { return count_; }
  ASItem first() const { return items_[0]; }
  bool next(ASItem& item) {
    if (++at_ >= count_) return false;
    item = items_[at_];
    return true;
  }

 private:
  const ASItem* items_;
  std::size_t count_;
  std::size_t at_ = 0;
};

// Walks the ways between the ASes `walk` hands over toward the vantage point and hands each
// edge found, with its two ends (the route travels from `to` toward `from`), to `credit`; stops
// and returns false when credit returns false.
template <class Walk, class Credit>
bool forEachWay(EdgeLookup& edges, Walk walk, Credit credit) {
  bool first = true;
  bool ok = true;
  ASNumber previous = 0;
  walk([&](ASNumber as) {
    if (first) {
      first = false;
    } else {
      if (!edges.isHop(previous, as)) return true;
      const ASGraph::edge nearVantage = edges.find(previous, as);
      if (nearVantage) {
        edges.noteReached();
        if (!credit(nearVantage, previous, as)) return ok = false;
      }
    }
    previous = as;
    return true;
  });
  return ok;
}

// The walks of a route's path as parsed, and as coveredPathASes left it.
auto walkOf(List<ASItem>& path, ASNumber vantage) {
  return [&path, vantage](auto visit) { forEachWalkAS(ListItems(path), vantage, visit); };
}

auto walkOf(const ASItem* items, std::size_t count, ASNumber vantage) {
  return [items, count, vantage](auto visit) {
    forEachWalkAS(ArrayItems(items, count), vantage, visit);
  };
}

auto walkOf(const ASNumber* ases, std::size_t count) {
  return [ases, count](auto visit) {
    for (std::size_t i = 0; i < count && visit(ases[i]); ++i) {
    }
  };
}

// Adds the units of [first, last] that lie past the way's last counted unit. False, leaving the
// way as it was, when the count would pass 2^64 - 1.
bool creditUnits(ASEdgeWeight& way, std::uint64_t first, std::uint64_t last) {
  if (way.unitCounted) {
    const std::uint64_t counted = way.lastPrefix.lastUnit();
    if (last <= counted) return true;
    if (first <= counted) first = counted + 1;
  }
  // last - first + 1 is at most 2^63 here: only ::/0 holds more, and it is never credited.
  const std::uint64_t units = last - first + 1;
  if (way.ipCovering > ~std::uint64_t(0) - units) return false;
  way.ipCovering += units;
  way.lastPrefix.setLastUnit(last);
  way.unitCounted = true;
  return true;
}

// `ways(credit)` hands credit each way the route reaches, as forEachWay does.
template <class Ways>
void creditAddressesOf(const IPPrefix& prefix, Ways ways, bool exact, const AddressRanges* ranges) {
  const unsigned long long prefixAddresses = prefix.addresses();
  const RememberedPrefix remembered =
      RememberedPrefix::of(prefix.address().value(), prefix.netmask().value());
  ways([&](const ASGraph::edge& nearVantage, ASNumber, ASNumber) {
    // The route travels from the far end toward the near one: the reverse way as seen from the
    // near end. The one end of a self-loop sees both ways, and each is credited.
    if (exact) {
      creditExactly(nearVantage.reverseWeight(), remembered, ranges);
      if (nearVantage.isLoop()) creditExactly(nearVantage.weight(), remembered, ranges);
    } else {
      credit(nearVantage.reverseWeight(), remembered, prefixAddresses);
      if (nearVantage.isLoop()) credit(nearVantage.weight(), remembered, prefixAddresses);
    }
    return true;
  });
}

template <class Walk>
void creditAddresses(EdgeLookup& edges, const IPPrefix& prefix, Walk walk, bool exact,
                     const AddressRanges* ranges) {
  creditAddressesOf(
      prefix, [&](auto credit) { forEachWay(edges, walk, credit); }, exact, ranges);
}

template <class Walk>
bool creditUnitsOf(EdgeLookup& edges, const IPv6Prefix& prefix, Walk walk, ASNumber& from,
                   ASNumber& to) {
  if (prefix.length == 0) return true;
  const std::uint64_t first = prefix.firstUnit();
  const std::uint64_t last = prefix.lastUnit();
  return forEachWay(
      edges, walk, [&](const ASGraph::edge& nearVantage, ASNumber nearAS, ASNumber farAS) {
        const bool ok = creditUnits(nearVantage.reverseWeight(), first, last) &&
                        (!nearVantage.isLoop() || creditUnits(nearVantage.weight(), first, last));
        if (!ok) {
          from = farAS;
          to = nearAS;
        }
        return ok;
      });
}

}  // namespace

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, List<ASItem>& path, ASNumber vantage,
                   bool exact, const AddressRanges* ranges) {
  creditAddresses(edges, prefix, walkOf(path, vantage), exact, ranges);
}

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, const ASNumber* ases,
                   std::size_t count, bool exact, const AddressRanges* ranges) {
  creditAddresses(edges, prefix, walkOf(ases, count), exact, ranges);
}

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, const ASItem* items,
                   std::size_t count, ASNumber vantage, bool exact, const AddressRanges* ranges) {
  creditAddresses(edges, prefix, walkOf(items, count, vantage), exact, ranges);
}

void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, const ASGraph::edge* hops,
                   std::size_t count, bool exact, const AddressRanges* ranges) {
  creditAddressesOf(
      prefix,
      [&](auto credit) {
        for (std::size_t i = 0; i < count; ++i) {
          if (!hops[i]) continue;
          edges.noteReached();
          credit(hops[i], 0, 0);
        }
      },
      exact, ranges);
}

void findWalkHops(EdgeLookup& edges, const ASNumber* ases, std::size_t count, ASGraph::edge* hops) {
  for (std::size_t i = 1; i < count; ++i) {
    hops[i - 1] =
        edges.isHop(ases[i - 1], ases[i]) ? edges.find(ases[i - 1], ases[i]) : ASGraph::edge();
  }
}

bool addIPv6Covering(EdgeLookup& edges, const IPv6Prefix& prefix, List<ASItem>& path,
                     ASNumber vantage, ASNumber& from, ASNumber& to) {
  return creditUnitsOf(edges, prefix, walkOf(path, vantage), from, to);
}

bool addIPv6Covering(EdgeLookup& edges, const IPv6Prefix& prefix, const ASNumber* ases,
                     std::size_t count, ASNumber& from, ASNumber& to) {
  return creditUnitsOf(edges, prefix, walkOf(ases, count), from, to);
}

bool addIPv6Covering(EdgeLookup& edges, const IPv6Prefix& prefix, const ASItem* items,
                     std::size_t count, ASNumber vantage, ASNumber& from, ASNumber& to) {
  return creditUnitsOf(edges, prefix, walkOf(items, count, vantage), from, to);
}

void coveredPathASes(List<ASItem>& path, ASNumber vantage, std::vector<ASNumber>& ases) {
  forEachWalkAS(ListItems(path), vantage, [&ases](ASNumber as) {
    ases.push_back(as);
    return true;
  });
}

void coveredPathASes(const ASItem* items, std::size_t count, ASNumber vantage,
                     std::vector<ASNumber>& ases) {
  // The walk holds at most the path and the vantage point: room first, then plain stores.
  const std::size_t before = ases.size();
  ases.resize(before + count + 1);
  ASNumber* const start = ases.data() + before;
  ASNumber* end = start;
  forEachWalkAS(ArrayItems(items, count), vantage, [&end](ASNumber as) {
    *end++ = as;
    return true;
  });
  ases.resize(before + static_cast<std::size_t>(end - start));
}
