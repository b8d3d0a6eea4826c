// Lines and raw bytes of an InputStream through one large buffer: the stream is read in big
// blocks, line ends are found with memchr, and a line is handed out in place, so reading costs
// no allocation and no copy per line. The text parsers read lines through it; the MRT reader
// reads binary records through the same object, so the position counts both exactly.
//
// A line may be at most kMaxLineLength bytes long, its line end included: a longer one is a
// read error (see lineTooLong()), found once that many bytes are buffered, so that no input,
// however large its one line, makes the reader hold more than that.
#ifndef ZELGRIN_IO_LINE_READER_H
#define ZELGRIN_IO_LINE_READER_H

#include <cstddef>
#include <string>

#include "io/request_sizes.h"

class InputStream;

class LineReader {
 public:
  // 16 MiB: far beyond any line of routing data or of a graph file, small enough to hold.
  static constexpr std::size_t kMaxLineLength = std::size_t{16} << 20;

  // A line in the reader's buffer, its line end ('\n') included when it has one. text[length]
  // is '\0' (the byte is put back when the reader moves on), so the line is also a C string
  // unless it holds a NUL itself. The caller may change the bytes before text[length]. Valid
  // until the next call of the reader.
  struct Line {
    char* text;
    std::size_t length;
    // True when the line holds no NUL byte and no carriage return, so that its length needs no
    // search for the one and its line end none for the other. The reader finds out once per
    // block read, not once per line.
    bool plain;
  };

  // Reads from `source`, which must outlive the reader.
  explicit LineReader(InputStream& source);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Forgets what was buffered, the position and the end or error seen: for a source that was
  // (re)opened. The buffer's memory is kept.
  void reset(unsigned long long position = 0);
  // Before the first read: the size of the buffer's first block, InputStream::kBlockSize unless
  // set. A reader that takes a few lines at one place reads less with a smaller one; the buffer
  // still grows for a longer line.
  void setBlockSize(std::size_t bytes) { blockSize_ = bytes > 0 ? bytes : 1; }

  // The next line. A last line without a line end comes as it is. False at the end of the input
  // and on an error (see failed()); the unfinished line before an error is dropped, and so is
  // a line longer than kMaxLineLength, which is an error.
  bool nextLine(Line& line);

  // Copies the next `n` bytes to `out`. Returns the count, less than n only at the end of the
  // input, or negative on an error (then the bytes before it are lost too, and not counted).
  long read(void* out, std::size_t n);
  // Makes the next `n` bytes readable at `view` without consuming them (the buffer grows when
  // n is larger). Returns how many are there: fewer than n only at the end or on an error.
  // The view is valid until the next call of the reader.
  std::size_t peek(std::size_t n, const unsigned char*& view);
  // Consumes `n` bytes made readable by the last peek. REQUIRES: n <= what it returned.
  void skip(std::size_t n);

  // Decoded bytes handed out so far by nextLine, read and skip.
  unsigned long long position() const { return position_; }
  // True once the source has reported its end and every byte read has been handed out.
  bool atEnd() const { return eof_ && begin_ == end_; }
  // True after a failed read of the source, a line longer than kMaxLineLength, or no memory.
  bool failed() const { return errorNumber_ != 0; }
  // True when the failure is a line longer than kMaxLineLength (error number EFBIG, text e.g.
  // "line at byte 1024 is longer than 16 MiB").
  bool lineTooLong() const { return lineTooLong_; }
  // The failure's system error number and text, as InputStream reports them; 0 and empty
  // while none.
  int errorNumber() const { return errorNumber_; }
  const char* errorText() const { return errorText_.c_str(); }

 private:
  void restoreByte();
  void deliver(std::size_t length, Line& line);
  // Reads more of the source behind the unconsumed bytes, first moving them to the front and
  // growing the buffer when they would fill it or `wanted` bytes would not fit. False at the
  // end of the source or on a failure.
  bool fill(std::size_t wanted, ReadPattern pattern);
  bool grow(std::size_t capacity);
  // Sets special_ to the first NUL or carriage return from `from` on.
  void findSpecial(std::size_t from);
  void setError(int errorNumber, const char* text);
  void refuseLongLine();

  InputStream& source_;
  // buffer_ holds capacity_ + 1 bytes, so that a NUL fits behind any line.
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t blockSize_;
  // Unconsumed bytes are buffer_[begin_, end_); [begin_, scanned_) holds no line end.
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t scanned_ = 0;
  // The byte that the NUL behind the last line replaced, put back at the next call.
  bool restorePending_ = false;
  char restoredByte_ = 0;
  std::size_t restoreAt_ = 0;
  // The first byte at or after begin_ that is a NUL or a carriage return, end_ when there is
  // none: the lines before it are plain.
  std::size_t special_ = 0;
  bool eof_ = false;
  unsigned long long position_ = 0;
  int errorNumber_ = 0;
  bool lineTooLong_ = false;
  std::string errorText_;
};

#endif  // ZELGRIN_IO_LINE_READER_H
