// The text of an export gathered in one large block and handed to the stream a block at a time,
// so that writing a million edges costs a few hundred writes rather than millions of formatted
// prints. Every writer of src/export appends here; numbers are formatted with std::to_chars.
#ifndef ZELGRIN_EXPORT_OUTPUT_BUFFER_H
#define ZELGRIN_EXPORT_OUTPUT_BUFFER_H

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

class OutputBuffer {
 public:
  // Text is written to `out` whenever a block of kBlockSize fills, and by flush. The stream is
  // not owned.
  explicit OutputBuffer(std::FILE* out);
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  static constexpr std::size_t kBlockSize = 1 << 20;

  void append(char c) {
    if (used_ == kBlockSize) writeBlock();
    block_[used_++] = c;
  }
  void append(const char* text, std::size_t length) {
    if (length > kBlockSize - used_) {
      appendLong(text, length);
      return;
    }
    std::memcpy(&block_[used_], text, length);
    used_ += length;
  }
  void append(const char* text) { append(text, std::strlen(text)); }
  void append(const std::string& text) { append(text.data(), text.size()); }

  template <typename Integer>
  void appendNumber(Integer value) {
    if (kBlockSize - used_ < kNumberRoom) writeBlock();
    used_ = static_cast<std::size_t>(
        std::to_chars(&block_[used_], &block_[0] + kBlockSize, value).ptr - &block_[0]);
  }

  // A real number with six decimals, as the graph file writes it ("0.500000"); infinities and
  // NaN come out as "inf", "-inf" and "nan".
  void appendFixed(double value);

  // Writes what is held to the stream and flushes the stream. False once any write failed.
  bool flush();
  // True once a write failed; nothing is written after that.
  bool failed() const { return failed_; }
  // The system's reason for the first failed write; empty while none failed.
  const std::string& reason() const { return reason_; }

 private:
  static constexpr std::size_t kNumberRoom = 32;  // longest integer text, with sign
  void writeBlock();
  void appendLong(const char* text, std::size_t length);

  std::FILE* out_;
  std::vector<char> block_;
  std::size_t used_ = 0;
  bool failed_ = false;
  std::string reason_;
};

#endif  // ZELGRIN_EXPORT_OUTPUT_BUFFER_H
