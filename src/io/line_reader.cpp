#include "io/line_reader.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "io/input_stream.h"

LineReader::LineReader(InputStream& source)
    : source_(source), blockSize_(InputStream::kBlockSize) {}

LineReader::~LineReader() { std::free(buffer_); }

void LineReader::reset(unsigned long long position) {
  restorePending_ = false;  // the buffered bytes are forgotten with it
  begin_ = 0;
  end_ = 0;
  scanned_ = 0;
  special_ = 0;
  eof_ = false;
  position_ = position;
  errorNumber_ = 0;
  lineTooLong_ = false;
  errorText_.clear();
}

void LineReader::restoreByte() {
  if (!restorePending_) return;
  buffer_[restoreAt_] = restoredByte_;
  restorePending_ = false;
}

void LineReader::deliver(std::size_t length, Line& line) {
  line.text = buffer_ + begin_;
  line.length = length;
  line.plain = begin_ + length <= special_;
  begin_ += length;
  if (scanned_ < begin_) scanned_ = begin_;
  // Before the NUL below is put in: it is the reader's, not the input's.
  if (special_ < begin_) findSpecial(begin_);
  position_ += length;
  restoreAt_ = begin_;
  restoredByte_ = buffer_[begin_];
  buffer_[begin_] = '\0';
  restorePending_ = true;
}

bool LineReader::nextLine(Line& line) {
  restoreByte();
  for (;;) {
    if (failed()) return false;
    if (scanned_ < end_) {
      const void* found = std::memchr(buffer_ + scanned_, '\n', end_ - scanned_);
      if (found != nullptr) {
        const std::size_t length =
            static_cast<std::size_t>(static_cast<const char*>(found) + 1 - buffer_) - begin_;
        // Longer only when a peek grew the buffer beyond a line's room: refused below.
        if (length <= kMaxLineLength) {
          deliver(length, line);
          return true;
        }
      }
      // A long line is searched only once, however many blocks it spans.
      scanned_ = end_;
    }
    if (end_ - begin_ > kMaxLineLength) {
      refuseLongLine();
      return false;
    }
    if (eof_) {
      if (begin_ == end_) return false;
      deliver(end_ - begin_, line);
      return true;
    }
    fill(0, ReadPattern::lines);  // the end and failures are seen above
  }
}

long LineReader::read(void* out, std::size_t n) {
  restoreByte();
  char* target = static_cast<char*>(out);
  std::size_t done = 0;
  while (done < n) {
    if (failed()) {
      position_ -= done;  // nothing of this read is handed out
      return -1;
    }
    const std::size_t buffered = end_ - begin_;
    if (buffered > 0) {
      const std::size_t count = buffered < n - done ? buffered : n - done;
      std::memcpy(target + done, buffer_ + begin_, count);
      skip(count);
      done += count;
      continue;
    }
    if (eof_) break;
    // Every read of the stream fills the buffer, a large record too: a stream decoding ahead
    // then cuts its blocks where these reads fall, and meets an error in the same read.
    fill(0, ReadPattern::records);
  }
  return static_cast<long>(done);
}

std::size_t LineReader::peek(std::size_t n, const unsigned char*& view) {
  restoreByte();
  while (end_ - begin_ < n && !eof_ && !failed()) fill(n, ReadPattern::records);
  view = reinterpret_cast<const unsigned char*>(buffer_ + begin_);
  const std::size_t available = end_ - begin_;
  return available < n ? available : n;
}

void LineReader::skip(std::size_t n) {
  restoreByte();
  if (n > end_ - begin_) n = end_ - begin_;
  begin_ += n;
  if (scanned_ < begin_) scanned_ = begin_;
  if (special_ < begin_) findSpecial(begin_);
  position_ += n;
}

bool LineReader::fill(std::size_t wanted, ReadPattern pattern) {
  if (buffer_ == nullptr && !grow(blockSize_)) return false;
  if (begin_ > 0) {
    std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
    scanned_ -= begin_;
    special_ -= begin_;
    end_ -= begin_;
    begin_ = 0;
  }
  // The buffer grows only for a line (or a peek) longer than it; for a line, to one byte more
  // than the longest allowed, which tells a line too long from one just long enough.
  if (end_ == capacity_ || wanted > capacity_) {
    const std::size_t lineRoom = kMaxLineLength + 1;
    std::size_t capacity = capacity_ * 2;
    if (capacity_ < lineRoom && capacity > lineRoom) capacity = lineRoom;
    if (capacity < wanted) capacity = wanted;
    if (!grow(capacity)) return false;
  }
  source_.expect(pattern);
  long count = source_.read(buffer_ + end_, capacity_ - end_);
  if (count < 0) {
    setError(source_.errorNumber(), source_.errorText());
    return false;
  }
  if (count == 0) {
    eof_ = true;
    return false;
  }
  const std::size_t oldEnd = end_;
  end_ += static_cast<std::size_t>(count);
  if (special_ == oldEnd) findSpecial(oldEnd);
  return true;
}

void LineReader::findSpecial(std::size_t from) {
  const char* start = buffer_ + from;
  const char* nul = static_cast<const char*>(std::memchr(start, '\0', end_ - from));
  // A carriage return counts only before the first NUL, which ends the search anyway.
  const std::size_t before = nul != nullptr ? static_cast<std::size_t>(nul - start) : end_ - from;
  const char* cr = static_cast<const char*>(std::memchr(start, '\r', before));
  const char* first = cr != nullptr ? cr : nul;
  special_ = first != nullptr ? static_cast<std::size_t>(first - buffer_) : end_;
}

bool LineReader::grow(std::size_t capacity) {
  void* grown = capacity < SIZE_MAX / 2 ? std::realloc(buffer_, capacity + 1) : nullptr;
  if (grown == nullptr) {
    setError(ENOMEM, std::strerror(ENOMEM));
    return false;
  }
  buffer_ = static_cast<char*>(grown);
  capacity_ = capacity;
  return true;
}

void LineReader::refuseLongLine() {
  char text[96];
  std::snprintf(text, sizeof text, "line at byte %llu%s is longer than %zu MiB", position_,
                source_.codec() == Codec::plain ? "" : " of the decompressed data",
                kMaxLineLength >> 20);
  setError(EFBIG, text);
  lineTooLong_ = true;
}

void LineReader::setError(int errorNumber, const char* text) {
  errorNumber_ = errorNumber != 0 ? errorNumber : EIO;
  errorText_.assign(text);
}
