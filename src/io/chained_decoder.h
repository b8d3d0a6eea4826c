// The part every decoder shares: a compressed file may hold several streams one after another
// (gzip members, bzip2 streams, xz streams, zstd frames), which decode as one text, as their
// command-line tools do. Between streams and after the last one the next bytes must start a
// stream of the same format, or be xz's stream padding (zero bytes in fours); anything else is
// trailing data, reported as such (Decoder::kTrailing) with `in` left at its first byte, never
// skipped. Each format's file supplies only how one stream starts and decodes.
#ifndef ZELGRIN_IO_CHAINED_DECODER_H
#define ZELGRIN_IO_CHAINED_DECODER_H

#include "io/codec.h"
#include "io/decoder.h"

class ChainedDecoder : public Decoder {
 public:
  Result decode(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                unsigned char* outEnd, bool inputEnds) final;

 protected:
  // Streams of `codec`; `padded`: zero bytes in fours may stand between streams (xz).
  explicit ChainedDecoder(Codec codec, bool padded = false);

  enum Step {
    kStreamGoesOn,  // more may come; no progress at all means more input is needed
    kStreamEnded,   // the stream is complete: `in` is just past its last byte
    kStreamFailed,  // fail() was called
  };
  // Makes the library ready for a stream that starts at the next input byte. False after
  // fail(). Called for every stream, the first one too.
  virtual bool startStream() = 0;
  // Decodes from the stream as decode() does, stopping at its end.
  virtual Step decodeStream(const unsigned char*& in, const unsigned char* inEnd,
                            unsigned char*& out, unsigned char* outEnd, bool inputEnds) = 0;

  const CodecTexts& texts() const { return texts_; }

 private:
  // Between streams: takes padding, then starts the next stream. kGoOn once a stream has
  // started (or more input is needed to tell), else the result to return.
  Result between(const unsigned char*& in, const unsigned char* inEnd, bool inputEnds);

  const Codec codec_;
  const CodecTexts& texts_;
  const bool padded_;
  bool inStream_ = false;
};

#endif  // ZELGRIN_IO_CHAINED_DECODER_H
