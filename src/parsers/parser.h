// Common base of the line-oriented input parsers. It owns the input stream (read through the io
// layer, so compressed inputs are decoded on the fly), the current line, the counters that graph
// construction shows in error reports and progress, the AS width of the run and the error
// reason; each format parser adds nextLine/parseLine and a public `data` record filled by
// parseLine.
#ifndef ZELGRIN_PARSERS_PARSER_H
#define ZELGRIN_PARSERS_PARSER_H

#include <cstddef>
#include <cstdio>
#include <string>

#include "asgraph/as_number.h"
#include "io/input_stream.h"
#include "io/line_reader.h"
#include "ip/address_family.h"
#include "parsers/address_order.h"
#include "parsers/read_stats.h"
#include "parsers/route.h"
#include "parsers/time_window.h"

class Parser {
 public:
  Parser();
  // Closes the stream if it is still open.
  virtual ~Parser();
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  // Results of nextLine.
  enum NextLineResult : int {
    lineReady = 0,    // a line is ready to be parsed
    noMoreLines = 1,  // the end of the input (also after a read error, see readError)
    noFileOpen = 2,   // nothing is open: "No file has been opened"
  };
  // Results of parseLine; every code but parseOk comes with errReason set.
  enum ParseResult : int {
    parseOk = 0,
    parseInputEnded = 1,    // the input ended where the rest of a wrapped record should be
    parseEmptyLine = 2,     // "There is no current line to be parsed"
    parseBadValue = 3,      // a value out of range or malformed
    parseMissingField = 4,  // a required field is missing, or the line cannot be split
    parseNoFile = 5,        // "No file has been opened"
  };

  // Turns the current line into the parser's record.
  virtual ParseResult parseLine() = 0;
  // Reads the next line worth parsing.
  virtual NextLineResult nextLine() = 0;

  // The AS numbers the run accepts; 16-bit until set. Set before reading.
  void setWidth(ASWidth width) { width_ = width; }
  // True when the last parseLine failed only because an AS number is above 65535 in a 16-bit
  // run, so that a report can count it apart from lines wrong whatever the width. (Readers with
  // skipStats count such records there instead.)
  bool refusedForWidth() const { return refusedForWidth_; }
  // The readers of time-stamped records (MRT, pipe route text) pass over the records stamped
  // outside this window; the others ignore it. Set before reading.
  void setTimeWindow(const TimeWindow& window) { timeWindow_ = window; }
  // The readers that know a route's family (MRT, router tables, pipe route text) take only the
  // routes of this one, and count the others as passed over; IPv4 until set. Set before reading.
  void setFamily(AddressFamily family) { family_ = family; }
  // Decode a compressed input in a thread of its own, for runs that may use more than one
  // thread; what is read stays the same. Set before opening.
  void setReadAhead(bool on) { input_.setReadAhead(on); }
  // Read in blocks of `bytes` rather than large ones, for a reading of a few lines at one place
  // of the file (see LineReader::setBlockSize). Set before opening.
  void setBlockSize(std::size_t bytes) { reader_.setBlockSize(bytes); }

  // For a route file read in both passes: what a reading of it to its end learnt of the order
  // of its routes' addresses, and, set before the merge's reading, what the earlier reading
  // learnt, which spares a reader that sorts routes a reading of its own to find out. Readers
  // that do not sort learn and use nothing.
  virtual AddressOrder addressOrderSeen() const { return AddressOrder{}; }
  virtual void setAddressOrderKnown(const AddressOrder&) {}
  // For readers that sort routes for the merge: the memory a sort holds before it spills to a
  // temporary file. Readers that do not sort ignore it. Set before opening.
  virtual void setSortMemory(std::size_t) {}
  // For readers that also hold the path of the record parseLine gave last as an array: its
  // `count` items, those of the record's path list; null for the others. The merge takes
  // paths from there, which saves walking the list.
  virtual const ASItem* pathItems(std::size_t& count) const {
    count = 0;
    return nullptr;
  }
  // Tells a reader with pathItems that nothing reads its record's path list, which it then
  // leaves empty rather than filling it for every record; true when it has pathItems. Set
  // before reading.
  virtual bool leavePathList() { return false; }

  // For readers that pass over records of their own accord: what they passed over (and the
  // records they rejected), by reason, since the input was opened. Null for the readers whose
  // every unused line is a parse failure, which the caller counts itself.
  virtual const ReadStats* skipStats() const { return nullptr; }
  // What a report counts as read: the lines (readLines) by default; a binary reader counts its
  // records or entries, the skipped ones included.
  virtual unsigned long long unitsRead() const { return readLines(); }
  // The reason under which a report counts what was read but neither delivered nor counted in
  // skipStats: the lines nextLine passes over without a word.
  virtual const char* passedOverReason() const { return kBlankOrShort; }

  // Opens `path` for reading and resets the counters, line, reason and read error.
  // Returns false and changes nothing when a stream is already open; returns false with errno
  // set (and the reason empty) when the file cannot be opened.
  bool openFile(const char* path);
  // After openFile of a plain file, before reading: reads only the lines that start in
  // [begin, end), the rest of a line begun before `begin` passed over, so that several readers
  // share one file. Positions and messages are those of the whole file; readLines counts the
  // part's lines. False when the file cannot move to `begin`.
  bool readOnlyPart(unsigned long long begin, unsigned long long end);
  // Resets as openFile does and reads standard input; file size 0. Closes a file still open.
  void openStdin();
  // Closes the stream (standard input is left open) and zeroes the line, reason, counters, size
  // and position. readError stays until the next open.
  void closeFile();

  // Lines turned into records; only the BGP dump parser counts them.
  unsigned long parsedLines() const { return parsedLines_; }
  // Lines read from the stream since it was opened, skipped ones included.
  unsigned long readLines() const { return readLines_; }
  // Characters read so far, line ends included. For a compressed input: the compressed bytes
  // taken so far, so that progress follows fileSize.
  unsigned long long filePos() const { return filePos_; }
  // Where the line read last starts in a plain file: filePos before it was read.
  unsigned long long lineStart() const { return lineStart_; }
  // Size of the opened file in bytes (as stored, compressed or not); 0 for standard input.
  unsigned long long fileSize() const { return fileSize_; }
  // System error number of the first read error since the stream was opened; 0 when none.
  // EIO for compressed data that cannot be decoded.
  int readError() const { return readError_; }
  // Text of that read error: the system's, or the decoder's reason such as "gzip: unexpected
  // end of compressed data"; empty when none.
  const char* readErrorText() const { return readErrorText_.c_str(); }
  // Reason of the last failure of nextLine or parseLine; empty when there is none.
  const char* errReason() const { return reason_.c_str(); }
  // A copy of the whole current line without its line end, valid until the next call. A binary
  // reader's record has no line: its description (describeRecord) stands for it.
  const char* currentLine();

 protected:
  bool isOpen() const { return input_.isOpen(); }
  // True when the stream has hit its end or failed, so no further line can come.
  bool streamDone() const;
  // True when the stream has reported its end of file.
  bool atEof() const { return isOpen() && reader_.atEnd(); }

  // Reads one whole line, line end included, into the line buffer. On success adds 1 to
  // readLines and the bytes read to filePos and returns true. At the end of the input or on a
  // read error (recorded in readError) empties the line and returns false.
  // REQUIRES: isOpen().
  bool readRawLine();
  // Reads up to `n` bytes of binary input into `out`, as the MRT reader does, through the same
  // buffer as the lines; filePos counts them. Returns the count, less than n only at the end of
  // the input, or negative on a read error (recorded in readError). Ends the current line.
  long readBytes(void* out, std::size_t n);
  // For binary readers: one more record read (readLines counts them), and the text that
  // currentLine gives for the record, e.g. where it lies in the file.
  void countRecordRead() { ++readLines_; }
  // For readers that find the input unusable past some point (an MRT file cut inside a record):
  // records a read error, EIO with `text`, unless one is recorded already.
  void failReading(const char* text);
  void describeRecord(const std::string& text) { recordText_ = text; }
  // The path the input was opened with; empty for standard input.
  const std::string& openedPath() const { return openedPath_; }
  // The line reader shared by the simple formats: skips lines whose length with line end is at
  // most `minimum` (but not a line holding a NUL byte), then cuts the accepted line at its first
  // CR or LF. Codes as nextLine.
  NextLineResult readLineLongerThan(std::size_t minimum);

  // The current line as a C string; characters after an embedded NUL are not part of it.
  const char* line() const { return line_; }
  // The line to change in place. REQUIRES: changes stay within its first lineLength() bytes
  // (the line lies in the reader's buffer, next to the lines that follow).
  char* mutableLine() { return line_; }
  std::size_t lineLength() const { return lineLen_; }
  // True when the line as read held a NUL byte (lineLength then stops before it): the text after
  // it would be lost, so the line cannot be parsed (beginParse refuses it).
  bool lineHasNul() const { return lineHasNul_; }
  // Shortens the line to `length` characters. REQUIRES: length <= lineLength().
  void truncateLine(std::size_t length);
  // Cuts the line at its first carriage return or line feed.
  void cutLineEnd();
  void emptyLine() { truncateLine(0); }
  // Makes `saved` the current line again, e.g. a line read before a reading that found the end
  // of the input. REQUIRES: `saved` outlives its use as the line and is not changed meanwhile.
  void restoreLine(std::string& saved);
  // True when the reading stopped at the end of the part readOnlyPart gave it.
  bool atPartEnd() const { return filePos_ >= partEnd_; }

  // The opening checks of every parseLine: empties the reason and clears refusedForWidth, then
  // returns parseNoFile with "No file has been opened", parseBadValue with "Line contains a NUL
  // byte", or parseEmptyLine with "There is no current line to be parsed", or parseOk to go on.
  ParseResult beginParse();

  ASWidth width() const { return width_; }
  const TimeWindow& timeWindow() const { return timeWindow_; }
  AddressFamily family() const { return family_; }
  // The range check of the run (ASWidth::accepts), noting a refusal for the width alone in
  // refusedForWidth.
  bool acceptAS(unsigned long long value, bool zeroAllowed = false) {
    if (width_.accepts(value, zeroAllowed)) return true;
    if (onlyInWideRun(value)) refusedForWidth_ = true;
    return false;
  }

  void clearReason() { reason_.clear(); }
  void setReason(const char* text) { reason_.assign(text); }
  // Reason "<text><quoted>'" quoting a token or line of any length.
  void setQuotedReason(const char* text, const char* quoted, std::size_t quotedLength);
  void setQuotedReason(const char* text, const char* quoted);
  // Reason "<text><number>'".
  void setNumberReason(const char* text, long long number);

  unsigned long parsedLines_ = 0;

 private:
  void resetForOpen();
  // Points the line at empty storage of the parser's own, away from the reader's buffer.
  void dropLine();
  void recordReadError();
  // filePos after a read: bytes of the lines and records handed out, or for a compressed input
  // the compressed bytes taken.
  void updatePosition(std::size_t bytesRead);

  unsigned long readLines_ = 0;
  unsigned long long fileSize_ = 0;
  unsigned long long filePos_ = 0;
  unsigned long long partEnd_ = ~0ull;  // no line starting here or after is read
  unsigned long long lineStart_ = 0;
  InputStream input_;
  LineReader reader_{input_};
  int readError_ = 0;
  std::string readErrorText_;
  // The current line: in the reader's buffer (which it may change in place) or noLine_.
  char* line_ = noLine_;
  std::size_t lineLen_ = 0;
  bool lineHasNul_ = false;
  bool linePlain_ = false;  // no NUL and no carriage return: the line end is its last byte
  char noLine_[1] = {'\0'};
  std::string lineCopy_;
  std::string recordText_;
  std::string openedPath_;
  std::string reason_;
  ASWidth width_;
  AddressFamily family_ = AddressFamily::ipv4;
  TimeWindow timeWindow_;
  bool refusedForWidth_ = false;
};

#endif  // ZELGRIN_PARSERS_PARSER_H
