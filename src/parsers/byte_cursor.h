// A bounds-checked view of bytes being decoded, the only way the MRT decoder touches binary
// input. Every take fails, and takes nothing, when fewer bytes remain, so a length field read from
// the input can never move a read past the end of the record, attribute or message it belongs to.
#ifndef ZELGRIN_PARSERS_BYTE_CURSOR_H
#define ZELGRIN_PARSERS_BYTE_CURSOR_H

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteCursor {
 public:
  ByteCursor() = default;
  ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t remaining() const { return size_; }
  bool empty() const { return size_ == 0; }

  bool takeU8(std::uint8_t& out) {
    if (size_ < 1) return false;
    out = data_[0];
    advance(1);
    return true;
  }
  // Multi-byte numbers are in network byte order.
  bool takeU16(std::uint16_t& out) {
    if (size_ < 2) return false;
    out = static_cast<std::uint16_t>((data_[0] << 8) | data_[1]);
    advance(2);
    return true;
  }
  bool takeU32(std::uint32_t& out) {
    if (size_ < 4) return false;
    out = (std::uint32_t{data_[0]} << 24) | (std::uint32_t{data_[1]} << 16) |
          (std::uint32_t{data_[2]} << 8) | std::uint32_t{data_[3]};
    advance(4);
    return true;
  }
  // A sub-view of the next n bytes, which this cursor then steps over.
  bool takeBytes(std::size_t n, ByteCursor& part) {
    if (size_ < n) return false;
    part = ByteCursor(data_, n);
    advance(n);
    return true;
  }
  // Copies the next n bytes to `out`.
  bool copyBytes(std::size_t n, std::uint8_t* out) {
    if (size_ < n) return false;
    if (n > 0) std::memcpy(out, data_, n);
    advance(n);
    return true;
  }
  bool skip(std::size_t n) {
    if (size_ < n) return false;
    advance(n);
    return true;
  }

 private:
  void advance(std::size_t n) {
    data_ += n;
    size_ -= n;
  }

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

#endif  // ZELGRIN_PARSERS_BYTE_CURSOR_H
