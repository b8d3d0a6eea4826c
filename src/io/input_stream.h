// One input file or standard input, handed out as its decoded bytes: a gzip, bzip2, xz or zstd
// input (recognised by its first bytes, never by its name) is decompressed on the fly, anything
// else passes through as it is. Every input reader of the program reads through one, mostly by
// way of a LineReader. When asked (setReadAhead), a compressed input is decoded ahead in a
// thread of its own, with nothing else to tell: the same reads, positions and errors.
#ifndef ZELGRIN_IO_INPUT_STREAM_H
#define ZELGRIN_IO_INPUT_STREAM_H

#include <cstddef>
#include <memory>
#include <string>

#include "io/codec.h"
#include "io/request_sizes.h"

class Decoder;
class ReadAhead;

class InputStream {
 public:
  // Bytes asked of the file or pipe per read, and of compressed data per refill. Measured:
  // larger blocks made whole runs slower, as each block's copy pushes the graph being built
  // out of the cache.
  static constexpr std::size_t kBlockSize = 64 * 1024;

  InputStream();
  // Closes the stream if it is still open.
  ~InputStream();
  InputStream(const InputStream&) = delete;
  InputStream& operator=(const InputStream&) = delete;

  // Opens `path` for reading, closing any stream still open. False with errno set when the
  // file cannot be opened. Opening does not read: a directory or a corrupt compressed file
  // fails at the first read.
  bool open(const char* path);
  // Moves a file just opened, and not read yet, to `offset`, where reading goes on as from a
  // plain input, its format not looked for: for a caller that knows the file is plain and
  // reads a part of it. False, with nothing changed, when the file cannot move there.
  bool seekPlain(unsigned long long offset);
  // Reads standard input (file descriptor 0) from where it stands; raw size 0.
  void openStdin();
  // Closes the file (standard input stays open) and forgets all state but the error.
  void close();
  bool isOpen() const { return fd_ >= 0; }

  // From the next open on, decodes a compressed input ahead in a thread of its own, from its
  // second read on; a plain input is read as it is. Standard input and pipes too: closing
  // stops the thread even while it waits for input.
  void setReadAhead(bool on) { readAheadWanted_ = on; }
  // How the reader will ask for bytes, for the blocks decoded ahead to fall where its reads
  // will. A LineReader says so before each read; records until said.
  void expect(ReadPattern pattern) { pattern_ = pattern; }

  // Copies up to `n` decoded bytes to `out`. Returns the count (at least 1 when n > 0 and the
  // input goes on), 0 at the end, negative on an error; an error stays until the next open.
  // An input that ends inside a compressed stream is an error, not an end, and so are bytes
  // after the last complete stream that start no other (see ChainedDecoder), e.g. "gzip: data
  // after the end of the compressed data at byte 1234", the offset counted in the stored file.
  // The bytes decoded in the read that meets an error are not handed out.
  long read(void* out, std::size_t n);

  // System error number of the failure: the system's for a failed read, EIO for data that
  // cannot be decoded, ENOMEM, ENOTSUP for a format not built in; 0 while none.
  int errorNumber() const { return ahead_ == nullptr ? errorNumber_ : 0; }
  // Its text: the system's, or the decoder's reason such as "gzip: unexpected end of
  // compressed data"; empty while none.
  const char* errorText() const { return ahead_ == nullptr ? errorText_.c_str() : ""; }

  // Size of the file as stored (compressed) from fstat; 0 for pipes and standard input.
  unsigned long long rawSize() const { return rawSize_; }
  // Stored (compressed) bytes taken so far: read from the file and handed to the decoder, or
  // for a plain input handed out. At a clean end it is every byte of the file. Decoding ahead,
  // the position after the last read as it was when that read was made.
  unsigned long long rawPosition() const {
    return ahead_ == nullptr ? positionNow() : aheadPosition_;
  }
  // The input's format, known from the first read on; plain before it.
  Codec codec() const { return codec_; }

 private:
  void resetState();
  // The reading without a thread: read() as it is when nothing is decoded ahead.
  long readNow(unsigned char* out, std::size_t n);
  unsigned long long positionNow() const { return rawRead_ - (rawEnd_ - rawBegin_); }
  // After the first read of `count` bytes (of `n` asked for) into `first`: starts decoding
  // ahead, or stays without a thread when none can start.
  void startReadAhead(const unsigned char* first, std::size_t count, std::size_t n);
  // Hands out the blocks decoded ahead; at the block that ends the input, stops the thread and
  // reads on without it, which repeats the end or the error as reading without it does.
  long readAhead(unsigned char* out, std::size_t n);
  void stopReadAhead();
  bool sniff();
  long readPlain(unsigned char* out, std::size_t n);
  long readDecoded(unsigned char* out, std::size_t n);
  // Moves the raw bytes not yet decoded to the front and reads more behind them.
  bool fillRaw();
  // One read(2) of the descriptor, retried when interrupted; counted in rawRead_.
  long readFd(unsigned char* out, std::size_t n);
  bool waitForInput();
  void setError(int errorNumber, const char* text);
  long fail(int errorNumber, const char* text);

  int fd_ = -1;
  bool ownsFd_ = false;
  Codec codec_ = Codec::plain;
  bool sniffed_ = false;
  bool ended_ = false;
  std::unique_ptr<Decoder> decoder_;
  // Raw bytes read but not yet decoded (or, for a plain input, the first bytes read to
  // recognise the format) are raw_[rawBegin_, rawEnd_).
  unsigned char* raw_ = nullptr;
  std::size_t rawBegin_ = 0;
  std::size_t rawEnd_ = 0;
  bool rawEof_ = false;
  unsigned long long rawRead_ = 0;
  unsigned long long rawSize_ = 0;
  int errorNumber_ = 0;
  std::string errorText_;

  // While ahead_ runs, its thread alone uses the reading state above but for fd_, codec_ and
  // rawSize_, which it only reads; the reader's side is below.
  bool readAheadWanted_ = false;
  bool aheadTried_ = false;  // since the open
  ReadPattern pattern_ = ReadPattern::records;
  std::unique_ptr<ReadAhead> ahead_;
  std::size_t aheadTaken_ = 0;  // bytes of the front block handed out
  unsigned long long aheadPosition_ = 0;
};

#endif  // ZELGRIN_IO_INPUT_STREAM_H
