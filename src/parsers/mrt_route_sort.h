// Puts the routes of an MRT or pipe route file in the order of the dump merge, in bounded
// memory: by network address, then the longer prefix first, routes of one prefix in the order
// they were added. Used by the readers' second reading, for one group of routes of one address
// or for a whole file whose addresses do not ascend. One sort holds one family: MrtRouteSort the
// IPv4 routes, MrtRouteSort6 the IPv6 ones, so an IPv4 run pays nothing for the wider key.
//
// Routes are held in memory up to a bound; past it the held routes are sorted and written as a
// run to an unnamed temporary file (see io/temporary_files.h), and the runs are merged at the
// end. A route is its prefix and its AS path; on disk, in host byte order:
//   IPv4: key (8 bytes) address (4) length (1) path length n (4) n ASes (4 each)
//   IPv6: high half (8) low half (8) length (1) path length n (4) n ASes (4 each)
// Memory: the bound, plus one read buffer of 4 to 64 KiB per run while merging.
#ifndef ZELGRIN_PARSERS_MRT_ROUTE_SORT_H
#define ZELGRIN_PARSERS_MRT_ROUTE_SORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "asgraph/as_number.h"
#include "ip/ipv6_prefix.h"

// An IPv4 prefix as the input wrote it (host bits kept, as the route hands them on), with its
// place in the merge's order worked out once.
struct MrtIPv4Prefix {
  std::uint64_t key = 0;  // the address without host bits, then 32 - length
  std::uint32_t address = 0;
  std::uint8_t length = 0;

  static MrtIPv4Prefix of(std::uint32_t address, std::uint8_t length) {
    const std::uint32_t mask = length == 0 ? 0 : ~std::uint32_t(0) << (32 - length);
    return {(std::uint64_t(address & mask) << 6) | std::uint64_t(32 - length), address, length};
  }
  bool before(const MrtIPv4Prefix& other) const { return key < other.key; }
};

// Whether two prefixes name the same network address, whatever their lengths; and whether the
// first's address is below the second's. The readers group and check their input with these.
inline bool sameAddress(const MrtIPv4Prefix& a, const MrtIPv4Prefix& b) {
  return a.key >> 6 == b.key >> 6;
}
inline bool addressBelow(const MrtIPv4Prefix& a, const MrtIPv4Prefix& b) {
  return a.key >> 6 < b.key >> 6;
}
inline bool sameAddress(const IPv6Prefix& a, const IPv6Prefix& b) {
  return a.high == b.high && a.low == b.low;
}
inline bool addressBelow(const IPv6Prefix& a, const IPv6Prefix& b) {
  return a.high < b.high || (a.high == b.high && a.low < b.low);
}

// Prefix is MrtIPv4Prefix or IPv6Prefix.
template <class Prefix>
class MrtRouteSortOf {
 public:
  // Routes held in memory before a run is written.
  static constexpr std::size_t kDefaultMemory = 64u << 20;

  struct Route {
    Prefix prefix;
    const ASNumber* path = nullptr;  // valid until the next call
    std::uint32_t pathLength = 0;
  };

  explicit MrtRouteSortOf(std::size_t memoryBound = kDefaultMemory);
  ~MrtRouteSortOf();
  MrtRouteSortOf(const MrtRouteSortOf&) = delete;
  MrtRouteSortOf& operator=(const MrtRouteSortOf&) = delete;

  // Adds a route. False with reason() when a run could not be written.
  bool add(const Prefix& prefix, const ASNumber* path, std::size_t pathLength);
  // Ends the adding; the routes are then taken in order. False with reason() on a failure.
  bool finish();
  // The next route in order; false after the last one, or with failed() when a run could not
  // be read.
  bool next(Route& route);
  // Empties the sort for the next group; the temporary file, if any, is kept for its runs.
  void clear();

  bool empty() const { return held_.empty() && runs_.empty(); }
  bool failed() const { return !reason_.empty(); }
  const char* reason() const { return reason_.c_str(); }
  // Runs written since the sort was made, for tests and statistics.
  std::uint64_t runsWritten() const { return runsWritten_; }

 private:
  struct Held {
    Prefix prefix;
    std::uint32_t sequence;  // ties of one prefix keep the order of adding
    std::uint32_t pathStart;
    std::uint32_t pathLength;
  };
  // A run on disk being merged: its byte range and a window of it.
  struct Run {
    std::uint64_t position;  // next byte to read into the window
    std::uint64_t end;
    std::vector<std::uint8_t> window;
    std::size_t begin = 0;  // the current route starts here in the window
    std::size_t filled = 0;
    Prefix prefix;  // of the current route
  };

  std::size_t heldBytes() const;
  void sortHeld();
  bool spill();
  bool startMerge();
  // Makes the run's next route current; false at its end or on a failure.
  bool loadRoute(Run& run);
  bool fillWindow(Run& run, std::size_t need);
  bool before(std::size_t a, std::size_t b) const;
  void siftDown(std::size_t at);
  bool fail(const char* what, int error);

  std::size_t memoryBound_;
  std::vector<Held> held_;
  std::vector<ASNumber> arena_;
  std::size_t nextHeld_ = 0;
  bool merging_ = false;
  int fd_ = -1;
  std::uint64_t fileEnd_ = 0;  // bytes of runs written
  std::vector<Run> runs_;
  std::vector<std::size_t> heap_;  // runs with a current route, the smallest first
  bool deliveredPending_ = false;  // heap_[0]'s route was handed out: pass it over first
  std::vector<ASNumber> path_;     // the path handed out from a run
  std::vector<std::uint8_t> writeBuffer_;
  std::uint64_t runsWritten_ = 0;
  std::string reason_;
};

using MrtRouteSort = MrtRouteSortOf<MrtIPv4Prefix>;
using MrtRouteSort6 = MrtRouteSortOf<IPv6Prefix>;

#endif  // ZELGRIN_PARSERS_MRT_ROUTE_SORT_H
