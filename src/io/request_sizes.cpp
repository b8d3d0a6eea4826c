#include "io/request_sizes.h"

#include <cstring>

#include "io/line_reader.h"

std::size_t RequestSizes::next() {
  if (pattern_ == ReadPattern::records) return capacity_;
  // LineReader::fill: a buffer full of one line doubles, up to one byte more than the longest
  // line allowed. A reader holding a line that long refuses it and asks no more.
  if (kept_ >= capacity_) {
    const std::size_t lineRoom = LineReader::kMaxLineLength + 1;
    std::size_t capacity = capacity_ * 2;
    if (capacity_ < lineRoom && capacity > lineRoom) capacity = lineRoom;
    if (capacity <= kept_) return capacity_;
    capacity_ = capacity;
  }
  return capacity_ - kept_;
}

void RequestSizes::answered(const unsigned char* bytes, std::size_t count) {
  if (pattern_ == ReadPattern::records) return;
  // The reader hands out every whole line before it asks again.
  const unsigned char* last =
      count > 0 ? static_cast<const unsigned char*>(memrchr(bytes, '\n', count)) : nullptr;
  kept_ = last != nullptr ? count - static_cast<std::size_t>(last + 1 - bytes) : kept_ + count;
}
