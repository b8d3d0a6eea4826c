// A set of IPv4 addresses given as prefixes ("10.0.0.0/8,192.0.2.0/24", as --ip-range takes
// them), held as sorted disjoint intervals, so that the addresses of the set inside any interval
// are counted in logarithmic time. IP covering restricted to an address block counts with it.
#ifndef ZELGRIN_IP_ADDRESS_RANGES_H
#define ZELGRIN_IP_ADDRESS_RANGES_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class AddressRanges {
 public:
  // Reads a comma-separated list of prefixes a.b.c.d/len (len 0 to 32, no bits set past the
  // length) and adds them. False at the first item that is none, with that item in `bad`; the
  // set then holds the items before it.
  bool addList(const std::string& text, std::string& bad);
  // Adds the addresses first..last. REQUIRES: first <= last.
  void add(std::uint32_t first, std::uint32_t last);

  // The number of the set's addresses from `first` to `last`; 0 when first > last.
  std::uint64_t countWithin(std::uint32_t first, std::uint32_t last) const;
  bool empty() const { return intervals_.empty(); }

 private:
  // Sorted, disjoint and not touching: [first, last] pairs.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> intervals_;
  // addressesBefore_[k]: the addresses of intervals 0..k-1.
  std::vector<std::uint64_t> addressesBefore_;
};

#endif  // ZELGRIN_IP_ADDRESS_RANGES_H
