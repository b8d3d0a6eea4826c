// bzip2 through libbz2, one stream at a time; ChainedDecoder goes from stream to stream.
#include <bzlib.h>

#include <cerrno>
#include <new>

#include "io/chained_decoder.h"

namespace {

class Bzip2Decoder : public ChainedDecoder {
 public:
  Bzip2Decoder() : ChainedDecoder(Codec::bzip2) {}
  ~Bzip2Decoder() override {
    if (started_) BZ2_bzDecompressEnd(&stream_);
  }

 protected:
  bool startStream() override {
    // A finished stream cannot be restarted: each stream gets a fresh state.
    if (started_) BZ2_bzDecompressEnd(&stream_);
    stream_ = bz_stream{};
    started_ = BZ2_bzDecompressInit(&stream_, 0, 0) == BZ_OK;
    if (!started_) fail(texts().noMemory, ENOMEM);
    return started_;
  }

  Step decodeStream(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                    unsigned char* outEnd, bool /*inputEnds*/) override {
    stream_.next_in = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
    stream_.avail_in = chunk(inEnd - in);
    stream_.next_out = reinterpret_cast<char*>(out);
    stream_.avail_out = chunk(outEnd - out);
    const int status = BZ2_bzDecompress(&stream_);
    in = reinterpret_cast<const unsigned char*>(stream_.next_in);
    out = reinterpret_cast<unsigned char*>(stream_.next_out);
    switch (status) {
      case BZ_STREAM_END:
        return kStreamEnded;
      case BZ_OK:
        return kStreamGoesOn;
      case BZ_MEM_ERROR:
        fail(texts().noMemory, ENOMEM);
        return kStreamFailed;
      default:
        fail(texts().corrupt, EIO);
        return kStreamFailed;
    }
  }

 private:
  static unsigned chunk(std::ptrdiff_t size) {
    return size > 0x40000000 ? 0x40000000u : static_cast<unsigned>(size);
  }

  bz_stream stream_{};
  bool started_ = false;
};

}  // namespace

std::unique_ptr<Decoder> makeBzip2Decoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) Bzip2Decoder);
}
