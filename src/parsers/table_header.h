// The header line of a router table and the columns it gives. Every platform names the network,
// the next hop and the path; most add Metric, LocPrf (LocPref on Arista) and Weight, and IOS-XR's
// advertised routes a From column instead. Used by the table reader to place each route's words.
//      Network          Next Hop            Metric LocPrf Weight Path
//   Network            Next Hop        From            AS Path
#ifndef ZELGRIN_PARSERS_TABLE_HEADER_H
#define ZELGRIN_PARSERS_TABLE_HEADER_H

#include <cstddef>

class TableHeader {
 public:
  // The columns of one caption, counted from 0: its first and last letter.
  struct Caption {
    bool present = false;
    std::size_t first = 0;
    std::size_t last = 0;
  };

  // True when the line is a header: it holds the captions Network, a next hop caption ("Next
  // Hop", "Next-hop", "NextHop") and Path.
  static bool isHeader(const char* text, std::size_t length);

  // Takes the columns of a header line. REQUIRES: isHeader(text, length).
  void record(const char* text, std::size_t length);
  // True once a header has been recorded.
  bool seen() const { return seen_; }
  void forget() { *this = TableHeader(); }

  std::size_t network() const { return network_.first; }
  std::size_t nextHop() const { return nextHop_.first; }
  std::size_t path() const { return path_.first; }
  const Caption& metric() const { return metric_; }
  const Caption& locPrf() const { return locPrf_; }
  const Caption& weight() const { return weight_; }
  // IOS-XR advertised routes: one From word (an address or "Local") follows the next hop.
  bool hasFrom() const { return from_.present; }
  // Arista prints numbers left-aligned under their captions; the others right-aligned.
  bool leftAligned() const { return leftAligned_; }
  // The captions stand one blank apart: the capture lost its runs of blanks, so no column
  // position means anything and routes are read by their words alone.
  bool collapsed() const { return collapsed_; }

 private:
  bool seen_ = false;
  Caption network_;
  Caption nextHop_;
  Caption metric_;
  Caption locPrf_;
  Caption weight_;
  Caption path_;
  Caption from_;
  bool leftAligned_ = false;
  bool collapsed_ = false;
};

#endif  // ZELGRIN_PARSERS_TABLE_HEADER_H
