#include "io/codec.h"

#include <cstring>

namespace {

struct CodecEntry {
  Codec codec;
  const char* name;
  const unsigned char* magic;
  std::size_t magicLength;
  bool builtIn;
  CodecTexts texts;
};

const unsigned char kGzipMagic[] = {0x1f, 0x8b};
const unsigned char kBzip2Magic[] = {'B', 'Z', 'h'};
const unsigned char kXzMagic[] = {0xfd, '7', 'z', 'X', 'Z', 0x00};
const unsigned char kZstdMagic[] = {0x28, 0xb5, 0x2f, 0xfd};

#ifdef ZELGRIN_WITH_GZIP
const bool kGzipBuiltIn = true;
#else
const bool kGzipBuiltIn = false;
#endif
#ifdef ZELGRIN_WITH_BZIP2
const bool kBzip2BuiltIn = true;
#else
const bool kBzip2BuiltIn = false;
#endif
#ifdef ZELGRIN_WITH_XZ
const bool kXzBuiltIn = true;
#else
const bool kXzBuiltIn = false;
#endif
#ifdef ZELGRIN_WITH_ZSTD
const bool kZstdBuiltIn = true;
#else
const bool kZstdBuiltIn = false;
#endif

const CodecEntry kCodecs[] = {
    {Codec::plain, "plain", nullptr, 0, true, {"", "", "", "", ""}},
    {Codec::gzip,
     "gzip",
     kGzipMagic,
     sizeof kGzipMagic,
     kGzipBuiltIn,
     {"gzip: unexpected end of compressed data", "gzip: compressed data is corrupt",
      "gzip: out of memory", "gzip support not built in",
      "gzip: data after the end of the compressed data"}},
    {Codec::bzip2,
     "bzip2",
     kBzip2Magic,
     sizeof kBzip2Magic,
     kBzip2BuiltIn,
     {"bzip2: unexpected end of compressed data", "bzip2: compressed data is corrupt",
      "bzip2: out of memory", "bzip2 support not built in",
      "bzip2: data after the end of the compressed data"}},
    {Codec::xz,
     "xz",
     kXzMagic,
     sizeof kXzMagic,
     kXzBuiltIn,
     {"xz: unexpected end of compressed data", "xz: compressed data is corrupt",
      "xz: out of memory", "xz support not built in",
      "xz: data after the end of the compressed data"}},
    {Codec::zstd,
     "zstd",
     kZstdMagic,
     sizeof kZstdMagic,
     kZstdBuiltIn,
     {"zstd: unexpected end of compressed data", "zstd: compressed data is corrupt",
      "zstd: out of memory", "zstd support not built in",
      "zstd: data after the end of the compressed data"}},
};

const CodecEntry& entry(Codec codec) {
  for (const CodecEntry& e : kCodecs) {
    if (e.codec == codec) return e;
  }
  return kCodecs[0];
}

// A zstd skippable frame (magic 0x184D2A50 to 0x184D2A5F, little endian) may open a zstd file
// too, as some parallel compressors write one first.
StreamStart matchSkippableFrame(const unsigned char* bytes, std::size_t size) {
  static const unsigned char kMagic[] = {0x50, 0x2a, 0x4d, 0x18};
  static const unsigned char kMask[] = {0xf0, 0xff, 0xff, 0xff};
  for (std::size_t i = 0; i < sizeof kMagic; ++i) {
    if (i == size) return StreamStart::maybe;
    if ((bytes[i] & kMask[i]) != kMagic[i]) return StreamStart::no;
  }
  return StreamStart::yes;
}

}  // namespace

StreamStart matchStreamStart(Codec codec, const unsigned char* bytes, std::size_t size) {
  const CodecEntry& e = entry(codec);
  StreamStart match = StreamStart::yes;
  for (std::size_t i = 0; i < e.magicLength && match == StreamStart::yes; ++i) {
    if (i == size)
      match = StreamStart::maybe;
    else if (bytes[i] != e.magic[i])
      match = StreamStart::no;
  }
  // "BZh" is followed by the block size digit; text starting with "BZh" stays text.
  if (codec == Codec::bzip2 && match == StreamStart::yes) {
    if (size < 4)
      match = StreamStart::maybe;
    else if (bytes[3] < '1' || bytes[3] > '9')
      match = StreamStart::no;
  }
  if (codec == Codec::zstd && match != StreamStart::yes) {
    const StreamStart skippable = matchSkippableFrame(bytes, size);
    if (skippable != StreamStart::no) return skippable;
  }
  return match;
}

Codec detectCodec(const unsigned char* bytes, std::size_t size) {
  for (const CodecEntry& e : kCodecs) {
    if (e.magic != nullptr && matchStreamStart(e.codec, bytes, size) == StreamStart::yes)
      return e.codec;
  }
  return Codec::plain;
}

const char* codecName(Codec codec) { return entry(codec).name; }

bool codecBuiltIn(Codec codec) { return entry(codec).builtIn; }

const CodecTexts& codecTexts(Codec codec) { return entry(codec).texts; }
