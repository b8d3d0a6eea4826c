#include "export/output_buffer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

OutputBuffer::OutputBuffer(std::FILE* out) : out_(out), block_(kBlockSize) {}

void OutputBuffer::appendFixed(double value) {
  // Six decimals of the largest double need over 300 digits; such values never come from a
  // real graph, so they take the exponent form rather than a wider scratch area.
  char text[64];
  std::to_chars_result result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  if (result.ec != std::errc()) {
    result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
  }
  append(text, static_cast<std::size_t>(result.ptr - text));
}

void OutputBuffer::writeBlock() {
  if (!failed_ && used_ > 0 && std::fwrite(block_.data(), 1, used_, out_) != used_) {
    failed_ = true;
    reason_ = std::strerror(errno);
  }
  used_ = 0;
}

void OutputBuffer::appendLong(const char* text, std::size_t length) {
  while (length > 0) {
    if (used_ == kBlockSize) writeBlock();
    const std::size_t part = std::min(length, kBlockSize - used_);
    std::memcpy(&block_[used_], text, part);
    used_ += part;
    text += part;
    length -= part;
  }
}

bool OutputBuffer::flush() {
  writeBlock();
  if (!failed_ && std::fflush(out_) != 0) {
    failed_ = true;
    reason_ = std::strerror(errno);
  }
  return !failed_;
}
