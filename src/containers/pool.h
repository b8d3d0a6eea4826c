// Storage for many small records of one type, numbered 0, 1, 2, ... in the order they were
// added. Records sit in fixed-size chunks, so a record never moves once added and growing never
// copies; everything is released chunk by chunk, without visiting records whose type needs no
// destructor. The graph keeps its nodes and edges here.
#ifndef ZELGRIN_CONTAINERS_POOL_H
#define ZELGRIN_CONTAINERS_POOL_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <vector>

template <class T>
class Pool {
 public:
  Pool() = default;
  ~Pool() { release(); }
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

  // The number of records.
  std::uint32_t size() const { return count_; }

  // The record numbered `number`. REQUIRES: number < size().
  T& operator[](std::uint32_t number) { return chunks_[number >> kChunkBits][number & kChunkMask]; }
  const T& operator[](std::uint32_t number) const {
    return chunks_[number >> kChunkBits][number & kChunkMask];
  }

  // Appends a default-constructed record and returns it; its number is size() - 1 afterwards.
  T& add() {
    if ((count_ & kChunkMask) == 0) {
      chunks_.push_back(static_cast<T*>(::operator new(sizeof(T) << kChunkBits, kAlignment)));
    }
    T* slot = &chunks_.back()[count_ & kChunkMask];
    new (slot) T();
    ++count_;
    return *slot;
  }

 private:
  // 4096 records a chunk: small graphs stay small, and the chunk table of a graph with
  // millions of edges is a few thousand pointers.
  static constexpr unsigned kChunkBits = 12;
  static constexpr std::uint32_t kChunkMask = (1u << kChunkBits) - 1;
  // Chunks start on a cache line, so that a record whose size is a cache line fills one.
  static constexpr std::align_val_t kAlignment{alignof(T) > 64 ? alignof(T) : 64};

  void release() {
    if constexpr (!std::is_trivially_destructible<T>::value) {
      for (std::uint32_t i = 0; i < count_; ++i) (*this)[i].~T();
    }
    for (T* chunk : chunks_) {
      ::operator delete(chunk, kAlignment);
    }
  }

  std::vector<T*> chunks_;
  std::uint32_t count_ = 0;
};

#endif  // ZELGRIN_CONTAINERS_POOL_H
