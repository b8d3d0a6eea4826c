// Finds an item numbered 0, 1, 2, ... (the graph's edges) by an unordered pair of 32-bit
// numbers (its end nodes). Open addressing with linear probing in a power-of-two table kept at
// most three quarters full; a slot holds the item's number and a 32-bit tag of the pair's hash,
// 8 bytes in all. The pair itself stays with the item: a caller confirms a candidate against
// the item it is about to read anyway, and the tag spares it reading any other item.
#ifndef ZELGRIN_CONTAINERS_PAIR_INDEX_H
#define ZELGRIN_CONTAINERS_PAIR_INDEX_H

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class PairIndex {
 public:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

  // An empty index; its first slots are there from the start, so a search never checks.
  PairIndex() : slots_(kFirstSize, 0) {}

  // Where a search for a pair ended: the number found, or kAbsent and the free slot the pair
  // would take (valid until the index next changes).
  struct Probe {
    std::uint32_t number;
    std::size_t slot;
    std::uint32_t tag;
  };

  // Searches the pair {a, b} (in either order); isItem(number) confirms a candidate.
  template <class IsItem>
  Probe find(std::uint32_t a, std::uint32_t b, IsItem isItem) const {
    const std::uint64_t hash = hashOf(a, b);
    const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = static_cast<std::size_t>(hash) & mask_;; i = (i + 1) & mask_) {
      const std::uint64_t slot = slots_[i];
      if (slot == 0) return Probe{kAbsent, i, tag};
      if (static_cast<std::uint32_t>(slot >> 32) == tag) {
        const std::uint32_t number = static_cast<std::uint32_t>(slot) - 1;
        if (isItem(number)) return Probe{number, i, tag};
      }
    }
  }

  // The slot a search for {a, b} reads first, to be loaded ahead of the search.
  const std::uint64_t* firstSlot(std::uint32_t a, std::uint32_t b) const {
    return &slots_[static_cast<std::size_t>(hashOf(a, b)) & mask_];
  }

  // The first item a search for {a, b} would confirm, or kAbsent: a guess, for loading the
  // item ahead of the search, that is right unless two pairs share a tag.
  std::uint32_t likelyItem(std::uint32_t a, std::uint32_t b) const {
    const std::uint64_t hash = hashOf(a, b);
    const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = static_cast<std::size_t>(hash) & mask_;; i = (i + 1) & mask_) {
      const std::uint64_t slot = slots_[i];
      if (slot == 0) return kAbsent;
      if (static_cast<std::uint32_t>(slot >> 32) == tag)
        return static_cast<std::uint32_t>(slot) - 1;
    }
  }

  // Enters item `number` where `probe` (a search that found nothing) ended. Numbers must come
  // in order 0, 1, 2, ...: when the table grows it is refilled from pairOf(n) for every number
  // n so far, which reads the items in the order they are stored. REQUIRES: number <
  // 0xFFFFFFFF.
  template <class PairOf>
  void add(const Probe& probe, std::uint32_t number, PairOf pairOf) {
    if (4 * (count_ + 1) > 3 * slots_.size()) {
      grow(pairOf);
      const std::pair<std::uint32_t, std::uint32_t> ends = pairOf(number);
      place(hashOf(ends.first, ends.second), number);
    } else {
      slots_[probe.slot] = (static_cast<std::uint64_t>(probe.tag) << 32) | (number + 1u);
    }
    ++count_;
  }

 private:
  // The pair in a fixed order, mixed so that the low bits pick the slot and the high bits
  // give the tag (the finalizer of MurmurHash3).
  static std::uint64_t hashOf(std::uint32_t a, std::uint32_t b) {
    if (a > b) std::swap(a, b);
    std::uint64_t k = (static_cast<std::uint64_t>(a) << 32) | b;
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdull;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ull;
    k ^= k >> 33;
    return k;
  }

  void place(std::uint64_t hash, std::uint32_t number) {
    std::size_t i = static_cast<std::size_t>(hash) & mask_;
    while (slots_[i] != 0) i = (i + 1) & mask_;
    slots_[i] = ((hash >> 32) << 32) | (number + 1u);
  }

  // The old table goes before the new one is made, so that growing never holds both.
  template <class PairOf>
  void grow(PairOf pairOf) {
    const std::size_t size = 2 * slots_.size();
    std::vector<std::uint64_t>().swap(slots_);
    slots_.assign(size, 0);
    mask_ = size - 1;
    for (std::uint32_t n = 0; n < count_; ++n) {
      const std::pair<std::uint32_t, std::uint32_t> ends = pairOf(n);
      place(hashOf(ends.first, ends.second), n);
    }
  }

  static constexpr std::size_t kFirstSize = 64;

  std::vector<std::uint64_t> slots_;
  std::size_t mask_ = kFirstSize - 1;  // slots_.size() - 1
  std::uint32_t count_ = 0;
};

#endif  // ZELGRIN_CONTAINERS_PAIR_INDEX_H
