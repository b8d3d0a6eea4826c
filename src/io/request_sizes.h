// The sizes a LineReader asks its input stream for, followed from the bytes handed to it, so that
// a stream decoding ahead (ReadAhead) can cut its blocks where the reader's requests will fall:
// the reads then return what they would without the thread, down to where an error falls.
#ifndef ZELGRIN_IO_REQUEST_SIZES_H
#define ZELGRIN_IO_REQUEST_SIZES_H

#include <cstddef>

// How a reader takes its bytes: whole records, which leave its buffer empty before it asks for
// more, or lines, which leave the unfinished last line in it.
enum class ReadPattern { records, lines };

class RequestSizes {
 public:
  // A reader whose first request asked for `firstRequest` bytes, its whole buffer.
  RequestSizes(ReadPattern pattern, std::size_t firstRequest)
      : pattern_(pattern), capacity_(firstRequest) {}

  // The size of the next request; for lines, grows the buffer first as the reader does when
  // one line fills it.
  std::size_t next();
  // The `count` bytes that answered the last request (or the first one).
  void answered(const unsigned char* bytes, std::size_t count);

 private:
  ReadPattern pattern_;
  std::size_t capacity_;
  std::size_t kept_ = 0;  // the unfinished line the reader keeps in its buffer
};

#endif  // ZELGRIN_IO_REQUEST_SIZES_H
