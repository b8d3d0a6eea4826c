// The compressed formats an input may come in, recognised by their first bytes (never by the
// file name), and the fixed texts the input streams report about each. Used by InputStream.
#ifndef ZELGRIN_IO_CODEC_H
#define ZELGRIN_IO_CODEC_H

#include <cstddef>

enum class Codec { plain, gzip, bzip2, xz, zstd };

// Bytes of an input's start that detectCodec needs to tell every format apart.
constexpr std::size_t kCodecMagicLength = 6;

// The format whose magic bytes start `bytes` (of which `size` are known), or plain. A start
// shorter than a format's magic is not that format.
Codec detectCodec(const unsigned char* bytes, std::size_t size);

// How far the `size` bytes known agree with the start of a `codec` stream (its magic, and for
// bzip2 the block size digit after it; for zstd a skippable frame counts too): not at all, so
// far as they go (too few to tell), or wholly. REQUIRES: codec is not plain.
enum class StreamStart { no, maybe, yes };
StreamStart matchStreamStart(Codec codec, const unsigned char* bytes, std::size_t size);

// The format's short name as its command-line tool spells it: "gzip", "xz"; "plain" for none.
const char* codecName(Codec codec);

// True when this program was built with the library that decodes `codec` (plain always is).
bool codecBuiltIn(Codec codec);

// The read-error texts of a format, e.g. "gzip: unexpected end of compressed data".
struct CodecTexts {
  const char* truncated;   // the input ended inside a compressed stream
  const char* corrupt;     // the decoder found data that cannot be decoded
  const char* noMemory;    // the decoder could not get memory
  const char* notBuiltIn;  // the program was built without the format's library
  // bytes that start no stream follow the last complete one; " at byte N" is added
  const char* trailing;
};
const CodecTexts& codecTexts(Codec codec);

#endif  // ZELGRIN_IO_CODEC_H
