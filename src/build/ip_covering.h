// IP address covering from BGP dump routes: each route's prefix is credited to every way of its
// AS path, toward the vantage point, without counting again the addresses it shares with the
// prefix counted last on that way; or, exactly, without counting again any address counted
// before on that way. Correct only when routes arrive in ascending prefix order.
#ifndef ZELGRIN_BUILD_IP_COVERING_H
#define ZELGRIN_BUILD_IP_COVERING_H

#include <cstddef>
#include <vector>

#include "build/edge_lookup.h"
#include "ip/address_ranges.h"
#include "ip/ip_prefix.h"
#include "ip/ipv6_prefix.h"
#include "parsers/route.h"

// Credits `prefix` to the ways of `path`; `vantage` (0 for none) is put in front of the path
// unless the path already starts with it. Paths of fewer than two items credit nothing. With
// `exact`, a way counts the addresses of the prefix that no prefix credited to it before held;
// with `ranges` too, only those of them inside the ranges.
void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, List<ASItem>& path, ASNumber vantage,
                   bool exact = false, const AddressRanges* ranges = nullptr);
// The same for the ASes coveredPathASes gave for a path and a vantage point.
void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, const ASNumber* ases,
                   std::size_t count, bool exact, const AddressRanges* ranges);
// The same for a path given as the array of a parser's pathItems.
void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, const ASItem* items,
                   std::size_t count, ASNumber vantage, bool exact, const AddressRanges* ranges);
// The same for the edges findWalkHops found for those ASes.
void addIPCovering(EdgeLookup& edges, const IPPrefix& prefix, const ASGraph::edge* hops,
                   std::size_t count, bool exact, const AddressRanges* ranges);

// Puts in hops[i - 1] the edge between ases[i - 1] and ases[i] as the covering walk finds it
// (a null handle where it finds none, or where the two make no hop), for i from 1 to count - 1:
// finding edges is most of crediting, and a thread other than the one that credits may do it
// while the graph's edges stay as they are.
void findWalkHops(EdgeLookup& edges, const ASNumber* ases, std::size_t count, ASGraph::edge* hops);

// The IPv6 covering: credits the /64 units of `prefix` that no prefix credited before held to
// the ways of `path`, as the exact count does (prefixes must come in IPv6Prefix::before order).
// The default route ::/0 credits nothing: its 2^64 units fit no count, and it carries no
// address block of its own. Returns false, crediting nothing more, when a way's count would
// pass 2^64 - 1 (only prefixes covering the whole space can do that), with `from` and `to`
// naming the way.
bool addIPv6Covering(EdgeLookup& edges, const IPv6Prefix& prefix, List<ASItem>& path,
                     ASNumber vantage, ASNumber& from, ASNumber& to);
bool addIPv6Covering(EdgeLookup& edges, const IPv6Prefix& prefix, const ASNumber* ases,
                     std::size_t count, ASNumber& from, ASNumber& to);
bool addIPv6Covering(EdgeLookup& edges, const IPv6Prefix& prefix, const ASItem* items,
                     std::size_t count, ASNumber vantage, ASNumber& from, ASNumber& to);

// Appends to `ases` the ASes the walk of the covering goes through for `path` and `vantage`: the
// vantage point or the path's first AS, then the path's ASes but the members of AS sets, which
// the walk bridges over; none for a path of fewer than two items. The overloads above taking
// them credit as those taking the path do, and reader threads hand them over in half the room.
void coveredPathASes(List<ASItem>& path, ASNumber vantage, std::vector<ASNumber>& ases);
// The same for a path given as the array of a parser's pathItems.
void coveredPathASes(const ASItem* items, std::size_t count, ASNumber vantage,
                     std::vector<ASNumber>& ases);

// Makes every way of the graph start the exact count afresh: nothing counted yet by a dump, so
// that covering from earlier inputs does not stand in for addresses.
void startExactCovering(ASGraph& graph);

#endif  // ZELGRIN_BUILD_IP_COVERING_H
