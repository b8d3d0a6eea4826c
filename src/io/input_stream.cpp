#include "io/input_stream.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "io/decoder.h"
#include "io/read_ahead.h"

InputStream::InputStream() = default;

InputStream::~InputStream() {
  close();
  stopReadAhead();
  std::free(raw_);
}

void InputStream::resetState() {
  codec_ = Codec::plain;
  sniffed_ = false;
  ended_ = false;
  decoder_.reset();
  rawBegin_ = 0;
  rawEnd_ = 0;
  rawEof_ = false;
  rawRead_ = 0;
  rawSize_ = 0;
  errorNumber_ = 0;
  errorText_.clear();
  aheadTried_ = false;
  aheadTaken_ = 0;
  aheadPosition_ = 0;
}

bool InputStream::open(const char* path) {
  close();
  int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // errno tells the caller why
  resetState();
  fd_ = fd;
  ownsFd_ = true;
  struct stat status;
  if (fstat(fd, &status) == 0 && status.st_size > 0)
    rawSize_ = static_cast<unsigned long long>(status.st_size);
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return true;
}

bool InputStream::seekPlain(unsigned long long offset) {
  if (fd_ < 0 || sniffed_ || ahead_ != nullptr) return false;
  if (lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return false;
  sniffed_ = true;
  codec_ = Codec::plain;
  rawRead_ = offset;
  return true;
}

void InputStream::openStdin() {
  close();
  resetState();
  fd_ = STDIN_FILENO;
  ownsFd_ = false;
}

void InputStream::close() {
  if (fd_ < 0) return;
  if (ahead_ != nullptr) {
    // An error met ahead but never handed out did not happen for the reader.
    stopReadAhead();
    errorNumber_ = 0;
    errorText_.clear();
  }
  if (ownsFd_) ::close(fd_);
  fd_ = -1;
  ownsFd_ = false;
  // The error stays for the report made after closing.
  int errorNumber = errorNumber_;
  std::string errorText;
  errorText.swap(errorText_);
  resetState();
  errorNumber_ = errorNumber;
  errorText_.swap(errorText);
}

void InputStream::setError(int errorNumber, const char* text) {
  errorNumber_ = errorNumber;
  errorText_.assign(text);
}

long InputStream::fail(int errorNumber, const char* text) {
  setError(errorNumber, text);
  return -1;
}

long InputStream::readFd(unsigned char* out, std::size_t n) {
  for (;;) {
    if (ahead_ != nullptr && !waitForInput()) return fail(EINTR, std::strerror(EINTR));
    ssize_t count = ::read(fd_, out, n);
    if (count >= 0) {
      rawRead_ += static_cast<unsigned long long>(count);
      return static_cast<long>(count);
    }
    const int error = errno;
    if (error != EINTR) return fail(error, std::strerror(error));
  }
}

long InputStream::read(void* out, std::size_t n) {
  unsigned char* bytes = static_cast<unsigned char*>(out);
  if (ahead_ != nullptr) return readAhead(bytes, n);
  const long count = readNow(bytes, n);
  // zstd decodes several times faster than its lines are parsed: a thread of its own would cost
  // more in handing blocks over than it saves.
  if (readAheadWanted_ && !aheadTried_ && count > 0 && codec_ != Codec::plain &&
      codec_ != Codec::zstd && !ended_)
    startReadAhead(bytes, static_cast<std::size_t>(count), n);
  return count;
}

long InputStream::readNow(unsigned char* out, std::size_t n) {
  if (errorNumber_ != 0) return -1;
  if (fd_ < 0) return fail(EBADF, std::strerror(EBADF));
  if (n == 0) return 0;
  if (!sniffed_ && !sniff()) return -1;
  return codec_ == Codec::plain ? readPlain(out, n) : readDecoded(out, n);
}

void InputStream::startReadAhead(const unsigned char* first, std::size_t count, std::size_t n) {
  aheadTried_ = true;
  RequestSizes sizes(pattern_, n);
  sizes.answered(first, count);
  std::unique_ptr<ReadAhead> ahead(new (std::nothrow) ReadAhead(
      [this](unsigned char* out, std::size_t size) { return readNow(out, size); },
      [this] { return positionNow(); }, sizes));
  if (ahead == nullptr) return;
  aheadPosition_ = positionNow();
  aheadTaken_ = 0;
  // Set before the thread starts, so that its reads of the descriptor can be woken.
  ahead_ = std::move(ahead);
  if (!ahead_->start()) ahead_.reset();
}

long InputStream::readAhead(unsigned char* out, std::size_t n) {
  if (n == 0) return 0;
  const DecodedBlock& block = ahead_->front();
  if (block.count <= 0) {
    // The thread has ended; the state it leaves is that of reading without it.
    stopReadAhead();
    return readNow(out, n);
  }
  const std::size_t left = static_cast<std::size_t>(block.count) - aheadTaken_;
  const std::size_t count = n < left ? n : left;
  std::memcpy(out, block.bytes.data() + aheadTaken_, count);
  aheadTaken_ += count;
  aheadPosition_ = block.rawPosition;
  if (aheadTaken_ == static_cast<std::size_t>(block.count)) {
    ahead_->pop();
    aheadTaken_ = 0;
  }
  return static_cast<long>(count);
}

void InputStream::stopReadAhead() {
  if (ahead_ == nullptr) return;
  ahead_->stop();
  ahead_.reset();
  aheadTaken_ = 0;
}

// Decoding ahead: waits until the input has bytes, or fails when the reader stops the thread,
// which may be waiting for a pipe that never writes again.
bool InputStream::waitForInput() {
  if (ahead_->stopping()) return false;
  struct pollfd waits[2] = {{fd_, POLLIN, 0}, {ahead_->wakeDescriptor(), POLLIN, 0}};
  for (;;) {
    if (poll(waits, 2, -1) >= 0) return (waits[1].revents & POLLIN) == 0;
    if (errno != EINTR) return true;  // the read itself will tell
  }
}

// Reads the first bytes into the raw buffer to recognise the format. A pipe may hand them out
// a few at a time, so this reads until the longest magic is there or the input ends.
bool InputStream::sniff() {
  if (raw_ == nullptr) {
    raw_ = static_cast<unsigned char*>(std::malloc(kBlockSize));
    if (raw_ == nullptr) {
      setError(ENOMEM, std::strerror(ENOMEM));
      return false;
    }
  }
  while (rawEnd_ < kCodecMagicLength && !rawEof_) {
    if (!fillRaw()) return false;
  }
  sniffed_ = true;
  codec_ = detectCodec(raw_, rawEnd_);
  if (codec_ == Codec::plain) return true;
  if (!codecBuiltIn(codec_)) {
    setError(ENOTSUP, codecTexts(codec_).notBuiltIn);
    return false;
  }
  decoder_ = makeDecoder(codec_);
  if (decoder_ == nullptr) {
    setError(ENOMEM, codecTexts(codec_).noMemory);
    return false;
  }
  return true;
}

bool InputStream::fillRaw() {
  if (rawBegin_ > 0) {
    std::memmove(raw_, raw_ + rawBegin_, rawEnd_ - rawBegin_);
    rawEnd_ -= rawBegin_;
    rawBegin_ = 0;
  }
  if (rawEnd_ == kBlockSize) return true;  // full already; the decoder has enough to go on
  long count = readFd(raw_ + rawEnd_, kBlockSize - rawEnd_);
  if (count < 0) return false;
  if (count == 0) rawEof_ = true;
  rawEnd_ += static_cast<std::size_t>(count);
  return true;
}

long InputStream::readPlain(unsigned char* out, std::size_t n) {
  // The bytes read to recognise the format come first; then the file goes straight to `out`.
  if (rawBegin_ < rawEnd_) {
    std::size_t count = rawEnd_ - rawBegin_ < n ? rawEnd_ - rawBegin_ : n;
    std::memcpy(out, raw_ + rawBegin_, count);
    rawBegin_ += count;
    return static_cast<long>(count);
  }
  if (rawEof_) return 0;
  long count = readFd(out, n);
  if (count == 0) rawEof_ = true;
  return count;
}

long InputStream::readDecoded(unsigned char* out, std::size_t n) {
  unsigned char* next = out;
  unsigned char* const end = out + n;
  for (;;) {
    if (ended_) return 0;
    if (rawBegin_ == rawEnd_ && !rawEof_ && !fillRaw()) return -1;
    const unsigned char* const start = raw_ + rawBegin_;
    const unsigned char* in = start;
    Decoder::Result result = decoder_->decode(in, raw_ + rawEnd_, next, end, rawEof_);
    const std::size_t taken = static_cast<std::size_t>(in - start);
    rawBegin_ += taken;
    const long produced = static_cast<long>(next - out);
    if (result == Decoder::kFailed) return fail(decoder_->errorNumber(), decoder_->reason());
    if (result == Decoder::kTrailing) {
      char text[128];
      std::snprintf(text, sizeof text, "%s at byte %llu", codecTexts(codec_).trailing,
                    positionNow());
      return fail(EIO, text);
    }
    if (result == Decoder::kEnd) {
      ended_ = true;
      rawBegin_ = rawEnd_;
      return produced;
    }
    if (produced > 0) return produced;
    if (taken > 0) continue;
    // No progress: the decoder needs input that is not there. (A decoder always takes from a
    // full buffer; one that does not would otherwise be asked forever.)
    if (rawEof_) return fail(EIO, codecTexts(codec_).truncated);
    if (rawEnd_ - rawBegin_ == kBlockSize) return fail(EIO, codecTexts(codec_).corrupt);
    if (!fillRaw()) return -1;
  }
}
