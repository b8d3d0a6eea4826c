// Cuts a byte stream into MRT records, for the MRT reader. It owns the read buffer, refuses
// input whose first record is not MRT, never buffers more than one record (at most 16 MiB) plus
// a peek at the next header, and repairs one known producer fault in TABLE_DUMP framing.
//
// Every record starts with a 12-byte header: time stamp (4 bytes, seconds), type (2), subtype
// (2), length (4) of the body that follows; numbers in network byte order. Example header:
// 387a7a18 000c 0001 00001e28 (January 2000, TABLE_DUMP, IPv4, 7720 bytes of body).
//
// Framing repair: some RIPE RIS TABLE_DUMP files of 2000 batch many entries into one record and
// declare each record 4 bytes shorter than written (the view and sequence numbers are not
// counted), so strict readers stop after one entry. For a TABLE_DUMP record only, when the 12
// bytes after the declared end are not a plausible header (an MRT type in use, a length of at
// most 16 MiB) and are not the end of the input, while the bytes 4 further on are the end of the
// input or a plausible TABLE_DUMP header (type 12, subtype 1 or 2), the record is taken to be 4
// bytes longer and marked lengthCorrected. The decision is made record by record, so correct
// files read exactly as declared.
#ifndef ZELGRIN_PARSERS_MRT_RECORD_STREAM_H
#define ZELGRIN_PARSERS_MRT_RECORD_STREAM_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "parsers/byte_cursor.h"
#include "parsers/byte_source.h"

struct MrtRecord {
  std::uint64_t offset = 0;  // of the header in the stream
  std::uint32_t time = 0;
  std::uint16_t type = 0;
  std::uint16_t subtype = 0;
  ByteCursor body;  // exactly the record's body; valid until the next call
  bool lengthCorrected = false;
};

enum class MrtStep {
  record,       // a record is ready
  end,          // the input ended after a whole record (or was empty)
  truncated,    // the input ended inside the last record; the stream then ends
  notMrt,       // the first record header is not plausible MRT; the stream stops
  lostFraming,  // a later header is not plausible, so records cannot be told apart; it stops
  readError,    // the source failed; the stream stops
};

class MrtRecordStream {
 public:
  static const std::uint32_t kMaxRecordLength = 16u << 20;
  static const std::size_t kHeaderSize = 12;

  explicit MrtRecordStream(ByteSource& source);

  // Steps to the next record and fills `record` when one is ready. After any step other than
  // `record`, errReason() says what happened (empty for `end`) and every later call returns end.
  MrtStep next(MrtRecord& record);
  // The reason of the last step that was not a record, with the byte offset it concerns.
  const char* errReason() const { return reason_; }

 private:
  // True when `need` bytes from begin_ are buffered; reads as needed.
  bool fill(std::size_t need);
  std::size_t buffered() const { return end_ - begin_; }
  std::size_t framingCorrection(std::size_t recordSize);
  MrtStep stop(MrtStep step);

  ByteSource& source_;
  std::vector<std::uint8_t> buffer_;
  std::size_t begin_ = 0;           // start of the current record in buffer_
  std::size_t end_ = 0;             // end of the buffered bytes
  std::size_t consumed_ = 0;        // size of the current record, skipped by the next call
  std::uint64_t bufferOffset_ = 0;  // stream offset of buffer_[0]
  bool sawRecord_ = false;
  bool eof_ = false;
  bool readFailed_ = false;
  bool stopped_ = false;
  char reason_[200] = {};
};

#endif  // ZELGRIN_PARSERS_MRT_RECORD_STREAM_H
