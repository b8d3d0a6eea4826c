#include "io/read_ahead.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "io/helper_thread.h"

ReadAhead::ReadAhead(Read read, Position position, RequestSizes sizes)
    : read_(std::move(read)), position_(std::move(position)), sizes_(sizes) {}

ReadAhead::~ReadAhead() {
  stop();
  if (wake_ >= 0) ::close(wake_);
}

bool ReadAhead::start() {
  wake_ = eventfd(0, EFD_CLOEXEC);
  if (wake_ < 0) return false;
  thread_ = helper_thread::start(&ReadAhead::produce, this);
  return thread_.joinable();
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
  bool runningLow = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const DecodedBlock& block = ring_[head_];
    if (block.count > 0) heldBytes_ -= static_cast<std::size_t>(block.count);
    head_ = (head_ + 1) % kBlocks;
    --filled_;
    runningLow = filled_ < kBlocks / 2;
  }
  // The producer sleeps once the ring is full; woken for each block taken, it would cost both
  // threads a system call a block, so it is woken when the ring runs low and fills it again.
  if (runningLow) roomReady_.notify_one();
}
