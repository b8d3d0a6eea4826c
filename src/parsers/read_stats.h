// What a reader made of one input file, for the --stats report: records used and records
// skipped, grouped by reason. Readers count the records they pass over on their own; graph
// construction counts the records it used and the lines that failed to parse.
#ifndef ZELGRIN_PARSERS_READ_STATS_H
#define ZELGRIN_PARSERS_READ_STATS_H

#include <cstdint>
#include <cstring>

#include "ip/address_family.h"

// Reasons shared by several readers, so that reports of different formats add up alike.
// Lines that hold no record: empty, all blanks, a comment or a legend.
constexpr const char* kBlankOrComment = "blank or comment";
// Lines a reader passes over for being too short to hold a record (blank ones among them).
constexpr const char* kBlankOrShort = "blank or too short";
// Lines of a table that are not a route's first line: headers, legends, blank lines and the
// continuation of a route wrapped over several lines.
constexpr const char* kNotRouteLine = "header, blank or continuation line";
// Paths refused for an AS set or a confederation segment, which a path list cannot hold.
constexpr const char* kASSetReason = "AS set";
constexpr const char* kASConfederationReason = "AS confederation";
// Routes of the family the run does not build (an IPv4 run passes over IPv6 routes and the
// other way round), and IPv6 multicast routes, which no graph takes. The driver's warning
// about an input holding only IPv6 routes looks for kIPv6Route.
constexpr const char* kIPv6Route = "IPv6 network";
constexpr const char* kIPv4Route = "IPv4 network";
constexpr const char* kMulticastRoute = "multicast route";
// The reason for a route of the family `run` does not build.
inline const char* otherFamilyReason(AddressFamily run) {
  return run == AddressFamily::ipv4 ? kIPv6Route : kIPv4Route;
}

class ReadStats {
 public:
  static constexpr int maxReasons = 16;

  void countUsed(std::uint64_t n = 1) { used_ += n; }
  // Counts one skipped record under `reason`, a text that outlives the stats (a literal).
  // Reasons beyond maxReasons are counted under the last slot's reason.
  void countSkipped(const char* reason, std::uint64_t n = 1) {
    for (int i = 0; i < reasonCount_; ++i) {
      if (reasons_[i] == reason || std::strcmp(reasons_[i], reason) == 0) {
        counts_[i] += n;
        return;
      }
    }
    if (reasonCount_ == maxReasons) {
      counts_[maxReasons - 1] += n;
      return;
    }
    reasons_[reasonCount_] = reason;
    counts_[reasonCount_++] = n;
  }
  void clear() { *this = ReadStats(); }

  std::uint64_t used() const { return used_; }
  std::uint64_t skipped() const {
    std::uint64_t total = 0;
    for (int i = 0; i < reasonCount_; ++i) total += counts_[i];
    return total;
  }
  // The reasons in the order they were first counted.
  int reasonCount() const { return reasonCount_; }
  const char* reason(int i) const { return reasons_[i]; }
  std::uint64_t count(int i) const { return counts_[i]; }

 private:
  std::uint64_t used_ = 0;
  int reasonCount_ = 0;
  const char* reasons_[maxReasons] = {};
  std::uint64_t counts_[maxReasons] = {};
};

#endif  // ZELGRIN_PARSERS_READ_STATS_H
