#include "containers/pair_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>
#include <vector>

namespace {

// Random pairs, many of them repeated or reversed, entered through growth after growth: each
// is found from either order, nothing else is, and the numbers agree with a plain map.
TEST(PairIndex, FindsEveryPairFromEitherEnd) {
  std::mt19937 rng(11);
  PairIndex index;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> items;
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> expected;
  auto pairOf = [&items](std::uint32_t n) { return items[n]; };
  auto isPair = [&items](std::uint32_t a, std::uint32_t b) {
    return [&items, a, b](std::uint32_t n) {
      return (items[n].first == a && items[n].second == b) ||
             (items[n].first == b && items[n].second == a);
    };
  };
  for (int i = 0; i < 30000; ++i) {
    // Few distinct ends, so that pairs repeat; 0 and the largest number among them.
    std::uint32_t a = rng() % 300, b = rng() % 300;
    if (i % 1000 == 0) a = 0xFFFFFFFEu;
    const PairIndex::Probe probe = index.find(a, b, isPair(a, b));
    const auto key = std::make_pair(std::min(a, b), std::max(a, b));
    const auto known = expected.find(key);
    if (known == expected.end()) {
      ASSERT_EQ(probe.number, PairIndex::kAbsent) << a << " " << b;
      const std::uint32_t number = static_cast<std::uint32_t>(items.size());
      items.emplace_back(a, b);
      index.add(probe, number, pairOf);
      expected[key] = number;
    } else {
      ASSERT_EQ(probe.number, known->second) << a << " " << b;
    }
  }
  for (const auto& entry : expected) {
    const std::uint32_t a = entry.first.first, b = entry.first.second;
    EXPECT_EQ(index.find(b, a, isPair(b, a)).number, entry.second);
  }
  EXPECT_EQ(index.find(7, 1000, isPair(7, 1000)).number, PairIndex::kAbsent);
}

}  // namespace
