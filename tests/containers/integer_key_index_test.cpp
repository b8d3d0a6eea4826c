#include "containers/integer_key_index.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Enters each distinct key of `keys` under its place and reports every key's number and the
// keys in the order forEachInKeyOrder gives, next to what a plain ordered map gives.
template <class K>
void expectLikeAMap(const std::vector<long long>& keys) {
  IntegerKeyIndex<K> index;
  std::map<K, std::uint32_t> expected;
  for (long long k : keys) {
    const K key = static_cast<K>(k);
    if (expected.count(key) != 0) continue;
    EXPECT_EQ(index.find(key), IntegerKeyIndex<K>::kAbsent) << k;
    const std::uint32_t number = static_cast<std::uint32_t>(expected.size());
    index.add(key, number);
    expected[key] = number;
  }
  std::vector<std::uint32_t> ordered;
  for (const auto& entry : expected) {
    EXPECT_EQ(index.find(entry.first), entry.second) << static_cast<long long>(entry.first);
    ordered.push_back(entry.second);
  }
  std::vector<std::uint32_t> walked;
  index.forEachInKeyOrder([&walked](std::uint32_t number) { walked.push_back(number); });
  EXPECT_EQ(walked, ordered);
}

// Keys inside the direct table, below it (negative) and beyond it, in one index.
TEST(IntegerKeyIndex, FindsAndOrdersKeysOnBothSidesOfTheTable) {
  std::vector<long long> wide = {7018, 65535, 65536, 4294967295LL, 0, 1, 4200000000LL, 3356};
  for (int i = 0; i < 500; ++i) wide.push_back((i * 2654435761LL) % 4294967296LL);
  expectLikeAMap<unsigned>(wide);
  expectLikeAMap<long long>({-5, 70000, -70000, 0, 65535, -1, 65536, 12, -9223372036854775807LL});
  expectLikeAMap<short>({-32768, 32767, 0, -1, 5, 5, 100});
  expectLikeAMap<unsigned char>({255, 0, 7, 128});
  expectLikeAMap<signed char>({-128, 127, 0, -1});
  IntegerKeyIndex<unsigned> empty;
  EXPECT_EQ(empty.find(5), IntegerKeyIndex<unsigned>::kAbsent);
  EXPECT_EQ(empty.find(500000), IntegerKeyIndex<unsigned>::kAbsent);
}

}  // namespace
