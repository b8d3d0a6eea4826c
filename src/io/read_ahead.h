// Decoding in a thread of its own: a producer thread fills a small ring of blocks, each by one
// call of the stream's own reading, and the reading thread takes them in order. Each block is
// read with the size the reader will ask for next (RequestSizes), so that what the reader gets
// read by read, and the stored position after each, are those of reading without the thread.
// Used by InputStream for compressed inputs when a run may use more than one thread.
#ifndef ZELGRIN_IO_READ_AHEAD_H
#define ZELGRIN_IO_READ_AHEAD_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "io/request_sizes.h"

// One read done ahead: its bytes, and what the read returned (bytes, 0 at the end, negative on
// an error) with the stored position after it.
struct DecodedBlock {
  std::vector<unsigned char> bytes;
  long count = 0;
  unsigned long long rawPosition = 0;
};

class ReadAhead {
 public:
  // Reads up to `n` bytes into `out`, as InputStream::read does; runs in the producer thread.
  using Read = std::function<long(unsigned char* out, std::size_t n)>;
  // The stored position after the last read; runs in the producer thread.
  using Position = std::function<unsigned long long()>;

  ReadAhead(Read read, Position position, RequestSizes sizes);
  // Stops the thread if it runs.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Starts the producer thread. False when no wake-up descriptor could be made or the system
  // refused the thread: read without it.
  bool start();
  // Asks the producer to stop, wakes it from a wait for the ring or for input, and joins it.
  void stop();

  // The next block, waiting for it. The producer stops after a block that ends the input (count
  // 0 or negative): the caller may then use the stream again itself, once it called stop().
  const DecodedBlock& front();
  // Gives the front block back to the producer. REQUIRES: front() was called since the last pop.
  void pop();

  // For the producer's reading of a descriptor: a descriptor that becomes readable when stop()
  // is called, to wait on beside the input's (poll), and whether stop() was called.
  int wakeDescriptor() const { return wake_; }
  bool stopping() const { return stopping_.load(std::memory_order_relaxed); }

 private:
  // Blocks held at once, and the bytes they may hold together when one request is larger than
  // usual (a long line): one block then waits for the next, so memory stays near the reader's.
  static constexpr std::size_t kBlocks = 4;
  static constexpr std::size_t kHeldBytes = 4 * 64 * 1024;

  void produce();

  Read read_;
  Position position_;
  RequestSizes sizes_;  // the producer's
  std::vector<DecodedBlock> ring_{kBlocks};
  std::mutex mutex_;
  std::condition_variable blockReady_;
  std::condition_variable roomReady_;
  // Guarded by mutex_: the front block's index, the blocks filled, and their bytes.
  std::size_t head_ = 0;
  std::size_t filled_ = 0;
  std::size_t heldBytes_ = 0;
  std::atomic<bool> stopping_{false};
  int wake_ = -1;
  std::thread thread_;
};

#endif  // ZELGRIN_IO_READ_AHEAD_H
