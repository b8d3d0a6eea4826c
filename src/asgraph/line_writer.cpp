#include "asgraph/line_writer.h"

#include <stdio.h>      // fwrite_unlocked, ferror_unlocked
#include <stdio_ext.h>  // __fbufsize, __flbf

namespace {

// 256 KB: far more than a stream's own buffer, so that a graph goes out in few calls.
const std::size_t kBufferSize = std::size_t(1) << 18;

}  // namespace

// An unbuffered stream has a buffer of one character; a line-buffered one writes at each line
// feed.
LineWriter::LineWriter(std::FILE* out)
    : out_(out),
      lineAtATime_(__fbufsize(out) <= 1 || __flbf(out) != 0),
      erredBefore_(ferror_unlocked(out) != 0),
      buffer_(new char[kBufferSize]) {}

LineWriter::~LineWriter() { delete[] buffer_; }

char* LineWriter::lineStart() {
  if (kBufferSize - used_ < kLongestLine) flush();
  return buffer_ + used_;
}

bool LineWriter::endLine(const char* end) {
  used_ = static_cast<std::size_t>(end - buffer_);
  return lineAtATime_ ? flush() : !failed_;
}

// Some streams report a refused write only through their error indicator, and take bytes one
// at a time after it: then the count they give may not be what reached the file.
bool LineWriter::flush() {
  if (failed_) {
    used_ = 0;
    return false;
  }
  if (used_ == 0) return true;
  const std::size_t written = fwrite_unlocked(buffer_, 1, used_, out_);
  if (written < used_) {
    refuseLineAt(written);
  } else if (!erredBefore_ && ferror_unlocked(out_) != 0) {
    refuseLineAt(used_ - 1);
  }
  used_ = 0;
  return !failed_;
}

void LineWriter::refuseLineAt(std::size_t offset) {
  failed_ = true;
  std::size_t start = offset;
  while (start > 0 && buffer_[start - 1] != '\n') --start;
  std::size_t end = offset;
  while (end < used_ && buffer_[end] != '\n') ++end;
  refused_.assign(buffer_ + start, end - start);
}
