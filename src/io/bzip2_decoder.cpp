// bzip2 through libbz2. Like bzcat: streams written one after another decode as one text, and
// what follows the last stream without a bzip2 magic is ignored.
#include <bzlib.h>

#include <cerrno>
#include <new>

#include "io/decoder.h"

namespace {

class Bzip2Decoder : public Decoder {
 public:
  ~Bzip2Decoder() override {
    if (started_) BZ2_bzDecompressEnd(&stream_);
  }

  Result decode(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                unsigned char* outEnd, bool inputEnds) override {
    const CodecTexts& texts = codecTexts(Codec::bzip2);
    for (;;) {
      switch (state_) {
        case kTrailing:
          in = inEnd;
          return inputEnds ? kEnd : kGoOn;
        case kBetween: {
          const std::size_t left = static_cast<std::size_t>(inEnd - in);
          if (left == 0) return inputEnds ? kEnd : kGoOn;
          switch (magicAt(in, left)) {
            case kNoMagic: state_ = kTrailing; continue;
            case kMaybeMagic:
              if (inputEnds) {
                state_ = kTrailing;
                continue;
              }
              return kGoOn;  // wait for the rest of a possible magic
            case kMagic: break;
          }
          // A finished stream cannot be restarted: each stream gets a fresh state.
          if (started_) BZ2_bzDecompressEnd(&stream_);
          stream_ = bz_stream{};
          started_ = BZ2_bzDecompressInit(&stream_, 0, 0) == BZ_OK;
          if (!started_) return fail(texts.noMemory, ENOMEM);
          state_ = kStream;
          continue;
        }
        case kStream: {
          stream_.next_in = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
          stream_.avail_in = chunk(inEnd - in);
          stream_.next_out = reinterpret_cast<char*>(out);
          stream_.avail_out = chunk(outEnd - out);
          int status = BZ2_bzDecompress(&stream_);
          in = reinterpret_cast<const unsigned char*>(stream_.next_in);
          out = reinterpret_cast<unsigned char*>(stream_.next_out);
          if (status == BZ_STREAM_END) {
            state_ = kBetween;
            if (out == outEnd) return kGoOn;
            continue;
          }
          if (status == BZ_OK) return kGoOn;
          if (status == BZ_MEM_ERROR) return fail(texts.noMemory, ENOMEM);
          return fail(texts.corrupt, EIO);
        }
      }
    }
  }

 private:
  enum State { kBetween, kStream, kTrailing };
  enum Magic { kNoMagic, kMaybeMagic, kMagic };

  // "BZh" and the block size digit; fewer bytes than that may still become one.
  static Magic magicAt(const unsigned char* bytes, std::size_t size) {
    static const char kMagicText[] = "BZh";
    for (std::size_t i = 0; i < 4; ++i) {
      if (i == size) return kMaybeMagic;
      bool fits = i < 3 ? bytes[i] == static_cast<unsigned char>(kMagicText[i])
                        : bytes[i] >= '1' && bytes[i] <= '9';
      if (!fits) return kNoMagic;
    }
    return kMagic;
  }

  static unsigned chunk(std::ptrdiff_t size) {
    return size > 0x40000000 ? 0x40000000u : static_cast<unsigned>(size);
  }

  bz_stream stream_{};
  bool started_ = false;
  State state_ = kBetween;
};

}  // namespace

std::unique_ptr<Decoder> makeBzip2Decoder() {
  return std::unique_ptr<Decoder>(new (std::nothrow) Bzip2Decoder);
}
