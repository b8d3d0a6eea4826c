// xz through liblzma. Like xzcat: streams written one after another, with their padding, decode
// as one text; any other bytes after the last stream make the input corrupt.
#include <lzma.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "io/decoder.h"

namespace {

class XzDecoder : public Decoder {
 public:
  ~XzDecoder() override { lzma_end(&stream_); }

  Result decode(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                unsigned char* outEnd, bool inputEnds) override {
    const CodecTexts& texts = codecTexts(Codec::xz);
    if (!started_) {
      // No memory limit, as xzcat has none: a file compressed with a large dictionary still
      // reads.
      if (lzma_stream_decoder(&stream_, UINT64_MAX, LZMA_CONCATENATED) != LZMA_OK)
        return fail(texts.noMemory, ENOMEM);
      started_ = true;
    }
    stream_.next_in = in;
    stream_.avail_in = static_cast<std::size_t>(inEnd - in);
    stream_.next_out = out;
    stream_.avail_out = static_cast<std::size_t>(outEnd - out);
    // LZMA_FINISH lets the decoder tell a complete input from one cut short.
    lzma_ret status = lzma_code(&stream_, inputEnds ? LZMA_FINISH : LZMA_RUN);
    in = stream_.next_in;
    out = stream_.next_out;
    switch (status) {
      case LZMA_OK:
      case LZMA_BUF_ERROR: return kGoOn;
      case LZMA_STREAM_END: return kEnd;
      case LZMA_MEM_ERROR: return fail(texts.noMemory, ENOMEM);
      default: return fail(texts.corrupt, EIO);
    }
  }

 private:
  lzma_stream stream_ = LZMA_STREAM_INIT;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<Decoder> makeXzDecoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) XzDecoder);
}
