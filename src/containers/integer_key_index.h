// Finds the number of a graph node by its integer key. Keys from 0 to 65535 (to 255 for 8-bit
// keys), where AS numbers mostly fall, sit in a table of every such key, so a lookup is one
// array read; any other key (negative, or wider) is found by linear probing in a power-of-two
// table kept at most half full, so a lookup mostly reads one slot.
#ifndef ZELGRIN_CONTAINERS_INTEGER_KEY_INDEX_H
#define ZELGRIN_CONTAINERS_INTEGER_KEY_INDEX_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

template <class K>
class IntegerKeyIndex {
  static_assert(std::is_integral<K>::value, "integer keys only");

 public:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

  IntegerKeyIndex() = default;
  // The fast path points into the table: a copy would point into the original.
  IntegerKeyIndex(const IntegerKeyIndex&) = delete;
  IntegerKeyIndex& operator=(const IntegerKeyIndex&) = delete;

  // The number entered under `key`, or kAbsent.
  std::uint32_t find(const K& key) const {
    const std::size_t index = directIndex(key);
    if (index < kDirectSize) return direct_ != nullptr ? direct_[index] - 1u : kAbsent;
    if (wide_.empty()) return kAbsent;
    for (std::size_t i = slotOf(key);; i = (i + 1) & (wide_.size() - 1)) {
      const Slot& slot = wide_[i];
      if (slot.number == kAbsent) return kAbsent;
      if (slot.key == key) return slot.number;
    }
  }

  // Enters `number` under `key`. REQUIRES: key absent, number < kAbsent.
  void add(const K& key, std::uint32_t number) {
    const std::size_t index = directIndex(key);
    if (index < kDirectSize) {
      // The table comes with the first key it holds: a graph without such keys never pays it.
      if (direct_ == nullptr) {
        directTable_.assign(kDirectSize, 0);
        direct_ = directTable_.data();
      }
      direct_[index] = number + 1u;
      return;
    }
    if (2 * (wideCount_ + 1) > wide_.size()) grow();
    place(key, number);
    ++wideCount_;
  }

  // Calls visit(number) for every entered key, in ascending key order. Allocates only to sort
  // the keys outside the direct table.
  template <typename Visit>
  void forEachInKeyOrder(Visit visit) const {
    std::vector<std::pair<K, std::uint32_t>> wide;
    wide.reserve(wideCount_);
    for (const Slot& slot : wide_) {
      if (slot.number != kAbsent) wide.emplace_back(slot.key, slot.number);
    }
    std::sort(wide.begin(), wide.end());
    // Keys outside the direct table are negative or beyond it, so they go around it.
    auto next = wide.begin();
    if constexpr (std::is_signed<K>::value) {
      for (; next != wide.end() && next->first < 0; ++next) visit(next->second);
    }
    for (std::uint32_t stored : directTable_) {
      if (stored != 0) visit(stored - 1u);
    }
    for (; next != wide.end(); ++next) visit(next->second);
  }

 private:
  static constexpr std::size_t kDirectSize = sizeof(K) == 1 ? 256 : 65536;

  struct Slot {
    K key{};
    std::uint32_t number = kAbsent;
  };

  // The key's place in the direct table, or kDirectSize when it has none.
  static std::size_t directIndex(const K& key) {
    if constexpr (std::is_signed<K>::value) {
      if (key < 0) return kDirectSize;
    }
    const auto index = static_cast<typename std::make_unsigned<K>::type>(key);
    return index < kDirectSize ? static_cast<std::size_t>(index) : kDirectSize;
  }

  std::size_t slotOf(const K& key) const {
    const auto bits = static_cast<unsigned long long>(key);
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & (wide_.size() - 1);
  }

  void place(const K& key, std::uint32_t number) {
    std::size_t i = slotOf(key);
    while (wide_[i].number != kAbsent) i = (i + 1) & (wide_.size() - 1);
    wide_[i].key = key;
    wide_[i].number = number;
  }

  void grow() {
    std::vector<Slot> old(wide_.empty() ? 64 : 2 * wide_.size());
    old.swap(wide_);
    for (const Slot& slot : old) {
      if (slot.number != kAbsent) place(slot.key, slot.number);
    }
  }

  std::vector<std::uint32_t> directTable_;  // number + 1 under each key below kDirectSize, or 0
  std::uint32_t* direct_ = nullptr;         // its first entry once it exists
  std::vector<Slot> wide_;
  std::size_t wideCount_ = 0;
};

#endif  // ZELGRIN_CONTAINERS_INTEGER_KEY_INDEX_H
