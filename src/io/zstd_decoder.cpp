// zstd through libzstd. Like zstdcat: frames written one after another (skippable frames too)
// decode as one text; any other bytes after the last frame make the input corrupt. Windows up to
// the library's default limit (128 MiB) are accepted, as zstdcat does without --long.
#include <zstd.h>
#include <zstd_errors.h>

#include <cerrno>
#include <new>

#include "io/decoder.h"

namespace {

class ZstdDecoder : public Decoder {
 public:
  ~ZstdDecoder() override { ZSTD_freeDStream(stream_); }

  Result decode(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                unsigned char* outEnd, bool inputEnds) override {
    const CodecTexts& texts = codecTexts(Codec::zstd);
    if (stream_ == nullptr) {
      stream_ = ZSTD_createDStream();
      if (stream_ == nullptr) return fail(texts.noMemory, ENOMEM);
    }
    if (frameDone_ && in == inEnd && inputEnds) return kEnd;
    ZSTD_inBuffer input = {in, static_cast<std::size_t>(inEnd - in), 0};
    ZSTD_outBuffer output = {out, static_cast<std::size_t>(outEnd - out), 0};
    std::size_t status = ZSTD_decompressStream(stream_, &output, &input);
    if (ZSTD_isError(status)) {
      switch (ZSTD_getErrorCode(status)) {
        case ZSTD_error_memory_allocation: return fail(texts.noMemory, ENOMEM);
        case ZSTD_error_frameParameter_windowTooLarge:
          return fail("zstd: window larger than 128 MiB", EIO);
        default: return fail(texts.corrupt, EIO);
      }
    }
    in += input.pos;
    out += output.pos;
    // 0: a frame ended and all of it was written out. Input may end only there.
    frameDone_ = status == 0;
    return frameDone_ && in == inEnd && inputEnds ? kEnd : kGoOn;
  }

 private:
  ZSTD_DStream* stream_ = nullptr;
  bool frameDone_ = false;
};

}  // namespace

std::unique_ptr<Decoder> makeZstdDecoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) ZstdDecoder);
}
