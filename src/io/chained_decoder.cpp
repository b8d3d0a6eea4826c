#include "io/chained_decoder.h"

ChainedDecoder::ChainedDecoder(Codec codec, bool padded)
    : codec_(codec), texts_(codecTexts(codec)), padded_(padded) {}

Decoder::Result ChainedDecoder::decode(const unsigned char*& in, const unsigned char* inEnd,
                                       unsigned char*& out, unsigned char* outEnd, bool inputEnds) {
  for (;;) {
    if (!inStream_) {
      const Result result = between(in, inEnd, inputEnds);
      if (!inStream_) return result;
    }
    switch (decodeStream(in, inEnd, out, outEnd, inputEnds)) {
      case kStreamGoesOn:
        return kGoOn;
      case kStreamFailed:
        return kFailed;
      case kStreamEnded:
        inStream_ = false;
        if (out == outEnd) return kGoOn;
        break;
    }
  }
}

Decoder::Result ChainedDecoder::between(const unsigned char*& in, const unsigned char* inEnd,
                                        bool inputEnds) {
  // Padding is taken four zero bytes at a time; fewer are trailing data.
  while (padded_ && inEnd - in >= 4 && in[0] == 0 && in[1] == 0 && in[2] == 0 && in[3] == 0) {
    in += 4;
  }
  if (in == inEnd) return inputEnds ? kEnd : kGoOn;
  const std::size_t left = static_cast<std::size_t>(inEnd - in);
  if (padded_ && in[0] == 0 && left < 4) {
    // Perhaps a group of four that the next block completes.
    for (std::size_t i = 1; i < left; ++i) {
      if (in[i] != 0) return kTrailing;
    }
    return inputEnds ? kTrailing : kGoOn;
  }
  switch (matchStreamStart(codec_, in, left)) {
    case StreamStart::no:
      return kTrailing;
    case StreamStart::maybe:
      return inputEnds ? kTrailing : kGoOn;
    case StreamStart::yes:
      break;
  }
  if (!startStream()) return kFailed;
  inStream_ = true;
  return kGoOn;
}
