// The IPv4 credits of a merge, each held back a few routes so that the edges its walk reaches
// are loaded from memory while the routes before it are credited: on a large graph whose edges
// are seldom at hand the merge waits on those loads far more than it works. Where they mostly
// are at hand (EdgeLookup's recent finds), holding routes back costs more than it saves, so the
// pipeline samples the routes now and then and holds them back only while many of their hops
// miss. Either way routes are credited in the order they are given, exactly as one by one.
#ifndef ZELGRIN_BUILD_CREDIT_PIPELINE_H
#define ZELGRIN_BUILD_CREDIT_PIPELINE_H

#include <array>
#include <cstddef>
#include <vector>

#include "build/build_report.h"
#include "build/edge_lookup.h"
#include "ip/address_ranges.h"
#include "ip/ip_prefix.h"
#include "parsers/route.h"

class CreditPipeline {
 public:
  // Credits as addIPCovering does with `exact` and `ranges`; with a report, each route counts
  // as used or not in the entry it is given with.
  CreditPipeline(EdgeLookup& edges, bool exact, const AddressRanges* ranges, BuildReport* report)
      : edges_(edges), exact_(exact), ranges_(ranges), report_(report) {}
  CreditPipeline(const CreditPipeline&) = delete;
  CreditPipeline& operator=(const CreditPipeline&) = delete;

  // The route of input entry `entry`, given by the ASes of its covering walk (coveredPathASes)
  // or by its path and vantage point.
  void add(int entry, const IPPrefix& prefix, const ASNumber* ases, std::size_t count);
  void add(int entry, const IPPrefix& prefix, List<ASItem>& path, ASNumber vantage);
  // The same for a path given as the array of a parser's pathItems.
  void add(int entry, const IPPrefix& prefix, const ASItem* items, std::size_t count,
           ASNumber vantage);

  // The same for the edges findWalkHops found for those ASes: held back while their records
  // load.
  void add(int entry, const IPPrefix& prefix, const ASGraph::edge* hops, std::size_t count);

  // Credits every route held.
  void flush();

 private:
  struct Held {
    int entry = 0;
    IPPrefix prefix;
    std::vector<ASNumber> ases;
    std::vector<ASGraph::edge> hops;  // when the route came as its edges, in place of ases
    bool byHops = false;
  };
  // Routes held: enough that a route's edges come from memory in the time the others take.
  static constexpr std::size_t kDepth = 8;
  // Every kPeriod routes, the first kSample are held back and their hops' misses counted; the
  // rest are held back only when more than one hop in kMissShare missed.
  static constexpr unsigned kPeriod = 1u << 16;
  static constexpr unsigned kSample = 1u << 10;
  static constexpr unsigned kMissShare = 4;

  // True when the next route is to be held back; counts it in the period.
  bool holdNext();
  // Makes room for a route, crediting the oldest when all are held, and gives its place.
  Held& makeRoom(int entry, const IPPrefix& prefix);
  // Starts loading the edges of the route just entered.
  void loadAhead();
  void creditOldest();
  void countUsed(int entry);

  EdgeLookup& edges_;
  bool exact_;
  const AddressRanges* ranges_;
  BuildReport* report_;
  std::array<Held, kDepth> held_;
  std::size_t oldest_ = 0;
  std::size_t count_ = 0;
  unsigned routeInPeriod_ = 0;
  bool holding_ = true;
  std::size_t sampledHops_ = 0, missedHops_ = 0;
};

#endif  // ZELGRIN_BUILD_CREDIT_PIPELINE_H
