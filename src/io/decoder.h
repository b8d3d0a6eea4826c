// The one interface behind which each compressed format's library sits, each in its own file
// (gzip_decoder.cpp, ...). Only InputStream uses it; it feeds a decoder raw bytes block by block
// and takes decoded bytes out.
#ifndef ZELGRIN_IO_DECODER_H
#define ZELGRIN_IO_DECODER_H

#include <memory>

#include "io/codec.h"

class Decoder {
 public:
  enum Result {
    kGoOn,      // more may come; no progress at all means more input is needed
    kEnd,       // the decoded data is complete and all input was taken
    kTrailing,  // the decoded data is complete, but `in` is left at bytes that start no stream
    kFailed,    // see reason() and errorNumber()
  };

  virtual ~Decoder() = default;

  // Decodes from [in, inEnd) into [out, outEnd), moving `in` past the bytes taken and `out` past
  // the bytes written. `inputEnds` says that no input follows [in, inEnd).
  // REQUIRES: out < outEnd.
  virtual Result decode(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                        unsigned char* outEnd, bool inputEnds) = 0;

  // Why the decoding failed, e.g. "xz: compressed data is corrupt"; empty before a failure.
  const char* reason() const { return reason_; }
  // EIO for data that cannot be decoded, ENOMEM when memory ran out.
  int errorNumber() const { return errorNumber_; }

 protected:
  Result fail(const char* reason, int errorNumber);

 private:
  const char* reason_ = "";
  int errorNumber_ = 0;
};

// A decoder for `codec`, or null when the program was built without its library or there is no
// memory for it. REQUIRES: codec is not plain.
std::unique_ptr<Decoder> makeDecoder(Codec codec);

// One per format, defined in that format's file.
std::unique_ptr<Decoder> makeGzipDecoder();
std::unique_ptr<Decoder> makeBzip2Decoder();
std::unique_ptr<Decoder> makeXzDecoder();
std::unique_ptr<Decoder> makeZstdDecoder();

#endif  // ZELGRIN_IO_DECODER_H
