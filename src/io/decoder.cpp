#include "io/decoder.h"

Decoder::Result Decoder::fail(const char* reason, int errorNumber) {
  reason_ = reason;
  errorNumber_ = errorNumber;
  return kFailed;
}

std::unique_ptr<Decoder> makeDecoder(Codec codec) {
  switch (codec) {
#ifdef ZELGRIN_WITH_GZIP
    case Codec::gzip:
      return makeGzipDecoder();
#endif
#ifdef ZELGRIN_WITH_BZIP2
    case Codec::bzip2:
      return makeBzip2Decoder();
#endif
#ifdef ZELGRIN_WITH_XZ
    case Codec::xz:
      return makeXzDecoder();
#endif
#ifdef ZELGRIN_WITH_ZSTD
    case Codec::zstd:
      return makeZstdDecoder();
#endif
    default:
      return nullptr;
  }
}
