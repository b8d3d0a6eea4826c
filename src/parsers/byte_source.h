// Where a binary reader pulls its bytes from: a file, a decompressing stream, or memory in tests,
// benchmarks and fuzzing. The MRT reader knows nothing else about its input.
#ifndef ZELGRIN_PARSERS_BYTE_SOURCE_H
#define ZELGRIN_PARSERS_BYTE_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to n bytes to `out` and returns how many: fewer than n only at the end of the
  // input, 0 once it is reached. Negative on a read error, described by errReason().
  virtual long read(void* out, std::size_t n) = 0;
  // Why the last read failed.
  virtual const char* errReason() const { return "read error"; }
};

// A source over bytes held by the caller, which must outlive it.
class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const void* data, std::size_t size)
      : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}

  long read(void* out, std::size_t n) override {
    const std::size_t left = size_ - position_;
    if (n > left) n = left;
    if (n > 0) std::memcpy(out, data_ + position_, n);
    position_ += n;
    return static_cast<long>(n);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

#endif  // ZELGRIN_PARSERS_BYTE_SOURCE_H
