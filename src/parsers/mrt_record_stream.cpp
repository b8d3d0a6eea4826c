#include "parsers/mrt_record_stream.h"

#include <cstdio>
#include <cstring>

#include "parsers/mrt_types.h"

namespace {

const std::size_t kInitialBuffer = 64 * 1024;

struct Header {
  std::uint32_t time = 0;
  std::uint16_t type = 0;
  std::uint16_t subtype = 0;
  std::uint32_t length = 0;
};

Header readHeader(const std::uint8_t* bytes) {
  ByteCursor cursor(bytes, MrtRecordStream::kHeaderSize);
  Header header;
  cursor.takeU32(header.time);
  cursor.takeU16(header.type);
  cursor.takeU16(header.subtype);
  cursor.takeU32(header.length);
  return header;
}

// Types assigned by RFC 6396, deprecated ones included: the only ones a header may carry.
bool typeInUse(std::uint16_t type) {
  return type <= mrt::kTableDumpV2 || type == mrt::kBgp4mp || type == mrt::kBgp4mpEt ||
         type == 32 || type == 33 || type == 48 || type == 49;
}

bool plausible(const Header& header) {
  if (!typeInUse(header.type) || header.length > MrtRecordStream::kMaxRecordLength) return false;
  return header.type != mrt::kBgp4mpEt || header.length >= 4;
}

// Stricter, for the first record, which decides whether the input is MRT at all: a type that
// routing collectors write, with a subtype that type has.
bool plausibleFirst(const Header& header) {
  if (!plausible(header)) return false;
  switch (header.type) {
    case mrt::kBgp:
      return header.subtype <= 7;
    case mrt::kTableDump:
      return header.subtype == mrt::kTableDumpIPv4 || header.subtype == mrt::kTableDumpIPv6;
    case mrt::kTableDumpV2:
      return header.subtype >= 1 && header.subtype <= 12;
    case mrt::kBgp4mp:
    case mrt::kBgp4mpEt:
      return header.subtype <= 11;
    case 11:
    case 32:
    case 33:
    case 48:
    case 49:
      return true;
    default:
      return false;
  }
}

bool plausibleTableDump(const Header& header) {
  return plausible(header) && header.type == mrt::kTableDump &&
         (header.subtype == mrt::kTableDumpIPv4 || header.subtype == mrt::kTableDumpIPv6);
}

}  // namespace

MrtRecordStream::MrtRecordStream(ByteSource& source) : source_(source) {}

bool MrtRecordStream::fill(std::size_t need) {
  if (buffered() >= need) return true;
  if (eof_ || readFailed_) return false;
  // Moves the current record to the front when the room behind it is short, so that reads
  // stay large and the buffer grows only for records longer than it.
  if (begin_ > 0 &&
      (buffer_.size() - begin_ < need || buffer_.size() - end_ < buffer_.size() / 4)) {
    if (buffered() > 0) std::memmove(buffer_.data(), buffer_.data() + begin_, buffered());
    bufferOffset_ += begin_;
    end_ -= begin_;
    begin_ = 0;
  }
  while (buffered() < need) {
    // Doubles only when full of bytes actually read, so a length field alone never makes the
    // buffer large: it stays within twice the input seen.
    if (end_ == buffer_.size())
      buffer_.resize(buffer_.empty() ? kInitialBuffer : buffer_.size() * 2);
    const long got = source_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0) {
      readFailed_ = true;
      return false;
    }
    if (got == 0) {
      eof_ = true;
      return false;
    }
    end_ += static_cast<std::size_t>(got);
  }
  return true;
}

MrtStep MrtRecordStream::stop(MrtStep step) {
  stopped_ = true;
  if (step == MrtStep::readError) {
    std::snprintf(reason_, sizeof reason_, "read error after byte %llu: %s",
                  static_cast<unsigned long long>(bufferOffset_ + end_), source_.errReason());
  }
  return step;
}

std::size_t MrtRecordStream::framingCorrection(std::size_t recordSize) {
  fill(recordSize + 4 + kHeaderSize);
  const std::size_t available = buffered();
  const std::uint8_t* record = buffer_.data() + begin_;
  if (available == recordSize) return 0;
  if (available >= recordSize + kHeaderSize && plausible(readHeader(record + recordSize))) return 0;
  if (available == recordSize + 4) return 4;
  if (available >= recordSize + 4 + kHeaderSize &&
      plausibleTableDump(readHeader(record + recordSize + 4)))
    return 4;
  return 0;
}

MrtStep MrtRecordStream::next(MrtRecord& record) {
  reason_[0] = '\0';
  if (stopped_) return MrtStep::end;
  begin_ += consumed_;
  consumed_ = 0;
  const unsigned long long offset = bufferOffset_ + begin_;
  if (!fill(kHeaderSize)) {
    if (readFailed_) return stop(MrtStep::readError);
    if (buffered() == 0) {
      stopped_ = true;
      return MrtStep::end;
    }
    if (!sawRecord_) {
      std::snprintf(reason_, sizeof reason_, "not an MRT file: only %zu bytes", buffered());
      return stop(MrtStep::notMrt);
    }
    std::snprintf(reason_, sizeof reason_,
                  "record at byte %llu: header cut short (%zu of 12 bytes)", offset, buffered());
    return stop(MrtStep::truncated);
  }
  const Header header = readHeader(buffer_.data() + begin_);
  const bool first = !sawRecord_;
  if (first ? !plausibleFirst(header) : !plausible(header)) {
    if (first) {
      std::snprintf(reason_, sizeof reason_,
                    "not an MRT file: the first record header (type %u, subtype %u, length %lu) "
                    "is not MRT",
                    header.type, header.subtype, static_cast<unsigned long>(header.length));
    } else {
      std::snprintf(reason_, sizeof reason_,
                    "record at byte %llu: implausible header (type %u, subtype %u, length %lu); "
                    "the records after it cannot be found",
                    offset, header.type, header.subtype, static_cast<unsigned long>(header.length));
    }
    return stop(first ? MrtStep::notMrt : MrtStep::lostFraming);
  }
  sawRecord_ = true;
  std::size_t size = kHeaderSize + header.length;
  if (!fill(size)) {
    if (readFailed_) return stop(MrtStep::readError);
    std::snprintf(reason_, sizeof reason_,
                  "record at byte %llu: cut short (%lu bytes declared, %zu present)", offset,
                  static_cast<unsigned long>(header.length), buffered() - kHeaderSize);
    return stop(MrtStep::truncated);
  }
  std::size_t correction = 0;
  if (header.type == mrt::kTableDump) correction = framingCorrection(size);
  size += correction;
  record.offset = offset;
  record.time = header.time;
  record.type = header.type;
  record.subtype = header.subtype;
  record.body = ByteCursor(buffer_.data() + begin_ + kHeaderSize, size - kHeaderSize);
  record.lengthCorrected = correction != 0;
  consumed_ = size;
  return MrtStep::record;
}
