// Hands lines of text to a stream a large buffer at a time, and tells which line the stream
// refused when a write fails. The graph file writer formats its node and edge lines here: one
// library call per buffer instead of one per line.
#ifndef ZELGRIN_ASGRAPH_LINE_WRITER_H
#define ZELGRIN_ASGRAPH_LINE_WRITER_H

#include <cstddef>
#include <cstdio>
#include <string>

// A stream that keeps what it is given until its own buffer is full gets the lines a buffer at
// a time; when it refuses a write, the line it refused is the one holding the first byte it did
// not take, which is the line that would have failed had each been written on its own. A stream
// that writes out at once (unbuffered, or line by line) gets each line as it is ended, so that
// it is refused exactly as it would be alone.
class LineWriter {
 public:
  // No line may be longer, its line feed included.
  static constexpr std::size_t kLongestLine = 512;

  // Writes to `out`, whose buffering is looked at now. REQUIRES: something was already written
  // to `out` (the stream sets up its buffer on the first write).
  explicit LineWriter(std::FILE* out);
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Where the next line goes: room for kLongestLine characters.
  char* lineStart();
  // Ends the line written from lineStart() up to `end`, its line feed included. False once the
  // stream refused a line (this one or one before it); nothing is written after that.
  bool endLine(const char* end);
  // Hands over the lines not yet written. False once the stream refused a line.
  bool flush();
  // The line the stream refused, without its line feed; empty while none was.
  const std::string& refusedLine() const { return refused_; }

 private:
  void refuseLineAt(std::size_t offset);

  std::FILE* out_;
  bool lineAtATime_;
  bool erredBefore_;  // the stream's error indicator was already set
  char* buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
  std::string refused_;
};

#endif  // ZELGRIN_ASGRAPH_LINE_WRITER_H
