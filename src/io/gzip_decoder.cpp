// gzip through zlib. Like zcat: members written one after another decode as one text, and what
// follows the last member without a gzip magic (zero padding, other bytes) is ignored.
#include <zlib.h>

#include <cerrno>
#include <new>

#include "io/decoder.h"

namespace {

class GzipDecoder : public Decoder {
 public:
  ~GzipDecoder() override {
    if (started_) inflateEnd(&stream_);
  }

  Result decode(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                unsigned char* outEnd, bool inputEnds) override {
    const CodecTexts& texts = codecTexts(Codec::gzip);
    for (;;) {
      switch (state_) {
        case kTrailing:
          in = inEnd;
          return inputEnds ? kEnd : kGoOn;
        case kBetween: {
          const std::size_t left = static_cast<std::size_t>(inEnd - in);
          if (left == 0) return inputEnds ? kEnd : kGoOn;
          if (in[0] != 0x1f || (left >= 2 && in[1] != 0x8b) || (left < 2 && inputEnds)) {
            state_ = kTrailing;
            continue;
          }
          if (left < 2) return kGoOn;  // one byte of a possible magic: wait for the next
          // 16 + MAX_WBITS: a gzip header and trailer, nothing else.
          int status = started_ ? inflateReset(&stream_) : inflateInit2(&stream_, 16 + MAX_WBITS);
          if (status != Z_OK) return fail(texts.noMemory, ENOMEM);
          started_ = true;
          state_ = kMember;
          continue;
        }
        case kMember: {
          stream_.next_in = const_cast<unsigned char*>(in);
          stream_.avail_in = chunk(inEnd - in);
          stream_.next_out = out;
          stream_.avail_out = chunk(outEnd - out);
          int status = inflate(&stream_, Z_NO_FLUSH);
          in = stream_.next_in;
          out = stream_.next_out;
          if (status == Z_STREAM_END) {
            state_ = kBetween;
            if (out == outEnd) return kGoOn;
            continue;
          }
          if (status == Z_OK || status == Z_BUF_ERROR) return kGoOn;
          if (status == Z_MEM_ERROR) return fail(texts.noMemory, ENOMEM);
          return fail(texts.corrupt, EIO);
        }
      }
    }
  }

 private:
  enum State { kBetween, kMember, kTrailing };

  // zlib counts in unsigned int; a larger span is handed over in parts.
  static unsigned chunk(std::ptrdiff_t size) {
    return size > 0x40000000 ? 0x40000000u : static_cast<unsigned>(size);
  }

  z_stream stream_{};
  bool started_ = false;
  State state_ = kBetween;
};

}  // namespace

std::unique_ptr<Decoder> makeGzipDecoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) GzipDecoder);
}
