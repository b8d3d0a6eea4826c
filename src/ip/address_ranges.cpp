#include "ip/address_ranges.h"

#include <algorithm>
#include <charconv>

namespace {

// Reads "a.b.c.d/len" exactly, as a first and last address.
bool readPrefix(const std::string& text, std::uint32_t& first, std::uint32_t& last) {
  const char* p = text.data();
  const char* end = p + text.size();
  std::uint32_t address = 0;
  for (int octet = 0; octet < 4; ++octet) {
    unsigned value = 256;
    const auto read = std::from_chars(p, end, value);
    if (read.ec != std::errc() || read.ptr == p || read.ptr - p > 3 || value > 255) return false;
    address = address << 8 | value;
    p = read.ptr;
    if (p == end || *p++ != (octet < 3 ? '.' : '/')) return false;
  }
  unsigned length = 33;
  const auto read = std::from_chars(p, end, length);
  if (read.ec != std::errc() || read.ptr != end || read.ptr - p > 2 || length > 32) return false;
  const std::uint32_t hostBits =
      length == 0 ? 0xFFFFFFFFu : (std::uint32_t(1) << (32 - length)) - 1;
  if ((address & hostBits) != 0) return false;
  first = address;
  last = address | hostBits;
  return true;
}

}  // namespace

bool AddressRanges::addList(const std::string& text, std::string& bad) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    std::uint32_t first = 0, last = 0;
    if (!readPrefix(item, first, last)) {
      bad = item;
      return false;
    }
    add(first, last);
    if (comma == text.size()) return true;
    start = comma + 1;
  }
}

void AddressRanges::add(std::uint32_t first, std::uint32_t last) {
  intervals_.emplace_back(first, last);
  std::sort(intervals_.begin(), intervals_.end());
  // Merge what overlaps or touches, then count the addresses before each interval.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> merged;
  for (const auto& interval : intervals_) {
    if (!merged.empty() &&
        std::uint64_t(interval.first) <= std::uint64_t(merged.back().second) + 1) {
      merged.back().second = std::max(merged.back().second, interval.second);
    } else {
      merged.push_back(interval);
    }
  }
  intervals_ = std::move(merged);
  addressesBefore_.assign(1, 0);
  for (const auto& interval : intervals_) {
    addressesBefore_.push_back(addressesBefore_.back() + interval.second - interval.first + 1);
  }
}

std::uint64_t AddressRanges::countWithin(std::uint32_t first, std::uint32_t last) const {
  if (first > last) return 0;
  // The addresses of the set at or below `address`.
  auto upTo = [this](std::uint32_t address) -> std::uint64_t {
    const auto after =
        std::upper_bound(intervals_.begin(), intervals_.end(), address,
                         [](std::uint32_t a, const std::pair<std::uint32_t, std::uint32_t>& i) {
                           return a < i.first;
                         });
    if (after == intervals_.begin()) return 0;
    const std::size_t k = static_cast<std::size_t>(after - intervals_.begin()) - 1;
    const auto& interval = intervals_[k];
    return addressesBefore_[k] + std::min(address, interval.second) - interval.first + 1;
  };
  return upTo(last) - (first == 0 ? 0 : upTo(first - 1));
}
