// zstd through libzstd, one frame at a time (skippable frames too); ChainedDecoder goes from
// frame to frame. Windows up to the library's default limit (128 MiB) are accepted, as zstdcat
// does without --long.
#include <zstd.h>
#include <zstd_errors.h>

#include <cerrno>
#include <new>

#include "io/chained_decoder.h"

namespace {

class ZstdDecoder : public ChainedDecoder {
 public:
  ZstdDecoder() : ChainedDecoder(Codec::zstd) {}
  ~ZstdDecoder() override { ZSTD_freeDStream(stream_); }

 protected:
  bool startStream() override {
    // After a frame's end the stream starts the next frame by itself.
    if (stream_ == nullptr) stream_ = ZSTD_createDStream();
    if (stream_ != nullptr) return true;
    fail(texts().noMemory, ENOMEM);
    return false;
  }

  Step decodeStream(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                    unsigned char* outEnd, bool /*inputEnds*/) override {
    ZSTD_inBuffer input = {in, static_cast<std::size_t>(inEnd - in), 0};
    ZSTD_outBuffer output = {out, static_cast<std::size_t>(outEnd - out), 0};
    const std::size_t status = ZSTD_decompressStream(stream_, &output, &input);
    if (ZSTD_isError(status)) {
      switch (ZSTD_getErrorCode(status)) {
        case ZSTD_error_memory_allocation:
          fail(texts().noMemory, ENOMEM);
          break;
        case ZSTD_error_frameParameter_windowTooLarge:
          fail("zstd: window larger than 128 MiB", EIO);
          break;
        default:
          fail(texts().corrupt, EIO);
          break;
      }
      return kStreamFailed;
    }
    in += input.pos;
    out += output.pos;
    // 0: the frame ended and all of it was written out; the library reads no further.
    return status == 0 ? kStreamEnded : kStreamGoesOn;
  }

 private:
  ZSTD_DStream* stream_ = nullptr;
};

}  // namespace

std::unique_ptr<Decoder> makeZstdDecoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) ZstdDecoder);
}
