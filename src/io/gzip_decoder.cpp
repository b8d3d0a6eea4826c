// gzip through zlib, one member at a time; ChainedDecoder goes from member to member.
#include <zlib.h>

#include <cerrno>
#include <new>

#include "io/chained_decoder.h"

namespace {

class GzipDecoder : public ChainedDecoder {
 public:
  GzipDecoder() : ChainedDecoder(Codec::gzip) {}
  ~GzipDecoder() override {
    if (started_) inflateEnd(&stream_);
  }

 protected:
  bool startStream() override {
    // 16 + MAX_WBITS: a gzip header and trailer, nothing else.
    const int status = started_ ? inflateReset(&stream_) : inflateInit2(&stream_, 16 + MAX_WBITS);
    if (status != Z_OK) {
      fail(texts().noMemory, ENOMEM);
      return false;
    }
    started_ = true;
    return true;
  }

  Step decodeStream(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                    unsigned char* outEnd, bool /*inputEnds*/) override {
    stream_.next_in = const_cast<unsigned char*>(in);
    stream_.avail_in = chunk(inEnd - in);
    stream_.next_out = out;
    stream_.avail_out = chunk(outEnd - out);
    const int status = inflate(&stream_, Z_NO_FLUSH);
    in = stream_.next_in;
    out = stream_.next_out;
    switch (status) {
      case Z_STREAM_END:
        return kStreamEnded;
      case Z_OK:
      case Z_BUF_ERROR:
        return kStreamGoesOn;
      case Z_MEM_ERROR:
        fail(texts().noMemory, ENOMEM);
        return kStreamFailed;
      default:
        fail(texts().corrupt, EIO);
        return kStreamFailed;
    }
  }

 private:
  // zlib counts in unsigned int; a larger span is handed over in parts.
  static unsigned chunk(std::ptrdiff_t size) {
    return size > 0x40000000 ? 0x40000000u : static_cast<unsigned>(size);
  }

  z_stream stream_{};
  bool started_ = false;
};

}  // namespace

std::unique_ptr<Decoder> makeGzipDecoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) GzipDecoder);
}
