// xz through liblzma, one stream at a time; ChainedDecoder goes from stream to stream and takes
// the stream padding between them.
#include <lzma.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "io/chained_decoder.h"

namespace {

class XzDecoder : public ChainedDecoder {
 public:
  XzDecoder() : ChainedDecoder(Codec::xz, true) {}
  ~XzDecoder() override { lzma_end(&stream_); }

 protected:
  bool startStream() override {
    // No memory limit, as xzcat has none: a file compressed with a large dictionary still
    // reads. The decoder stops at the end of its stream.
    if (lzma_stream_decoder(&stream_, UINT64_MAX, 0) == LZMA_OK) return true;
    fail(texts().noMemory, ENOMEM);
    return false;
  }

  Step decodeStream(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                    unsigned char* outEnd, bool inputEnds) override {
    stream_.next_in = in;
    stream_.avail_in = static_cast<std::size_t>(inEnd - in);
    stream_.next_out = out;
    stream_.avail_out = static_cast<std::size_t>(outEnd - out);
    // LZMA_FINISH lets the decoder tell a complete input from one cut short.
    const lzma_ret status = lzma_code(&stream_, inputEnds ? LZMA_FINISH : LZMA_RUN);
    in = stream_.next_in;
    out = stream_.next_out;
    switch (status) {
      case LZMA_OK:
      case LZMA_BUF_ERROR:
        return kStreamGoesOn;
      case LZMA_STREAM_END:
        return kStreamEnded;
      case LZMA_MEM_ERROR:
        fail(texts().noMemory, ENOMEM);
        return kStreamFailed;
      default:
        fail(texts().corrupt, EIO);
        return kStreamFailed;
    }
  }

 private:
  lzma_stream stream_ = LZMA_STREAM_INIT;
};

}  // namespace

std::unique_ptr<Decoder> makeXzDecoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) XzDecoder);
}
