#include "io/read_ahead.h"

#include <sys/eventfd.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdint>
#include <utility>

#include "io/temporary_files.h"

ReadAhead::ReadAhead(Read read, Position position, RequestSizes sizes)
    : read_(std::move(read)), position_(std::move(position)), sizes_(sizes) {}

ReadAhead::~ReadAhead() {
  stop();
  if (wake_ >= 0) ::close(wake_);
}

bool ReadAhead::start() {
  wake_ = eventfd(0, EFD_CLOEXEC);
  if (wake_ < 0) return false;
#if defined(__GLIBC__)
  // The thread's first allocation (a decoder starting its next stream) would otherwise make it
  // a heap of its own, reserving 64 MB of address space that a memory cap (ulimit -v) counts.
  mallopt(M_ARENA_MAX, 1);
#endif
  // Born with the ending signals held, so that the handler that removes the temporary files
  // runs in the main thread.
  temporary_files::SignalsHeld held;
  thread_ = std::thread(&ReadAhead::produce, this);
  return true;
}

void ReadAhead::stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_.store(true, std::memory_order_relaxed);
  }
  roomReady_.notify_one();
  const std::uint64_t one = 1;
  // A failed write leaves only a wait for a pipe unwoken; it cannot fail on a fresh eventfd.
  if (::write(wake_, &one, sizeof one) < 0) {
  }
  thread_.join();
}

void ReadAhead::produce() {
  for (;;) {
    const std::size_t n = sizes_.next();
    std::size_t index;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      roomReady_.wait(lock, [this, n] {
        return stopping() || (filled_ < kBlocks && (filled_ == 0 || heldBytes_ + n <= kHeldBytes));
      });
      if (stopping()) return;
      index = (head_ + filled_) % kBlocks;
    }
    DecodedBlock& block = ring_[index];
    // A block that held a long line gives its memory back once lines are short again.
    if (block.bytes.size() > kHeldBytes && n <= kHeldBytes) {
      std::vector<unsigned char>(n).swap(block.bytes);
    } else if (block.bytes.size() < n) {
      block.bytes.resize(n);
    }
    block.count = read_(block.bytes.data(), n);
    block.rawPosition = position_();
    if (block.count > 0) sizes_.answered(block.bytes.data(), static_cast<std::size_t>(block.count));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++filled_;
      if (block.count > 0) heldBytes_ += static_cast<std::size_t>(block.count);
    }
    blockReady_.notify_one();
    if (block.count <= 0) return;
  }
}

const DecodedBlock& ReadAhead::front() {
  std::unique_lock<std::mutex> lock(mutex_);
  blockReady_.wait(lock, [this] { return filled_ > 0; });
  return ring_[head_];
}

void ReadAhead::pop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const DecodedBlock& block = ring_[head_];
    if (block.count > 0) heldBytes_ -= static_cast<std::size_t>(block.count);
    head_ = (head_ + 1) % kBlocks;
    --filled_;
  }
  roomReady_.notify_one();
}
