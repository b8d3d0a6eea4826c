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
    {Codec::plain, "plain", nullptr, 0, true, {"", "", "", ""}},
    {Codec::gzip, "gzip", kGzipMagic, sizeof kGzipMagic, kGzipBuiltIn,
     {"gzip: unexpected end of compressed data", "gzip: compressed data is corrupt",
      "gzip: out of memory", "gzip support not built in"}},
    {Codec::bzip2, "bzip2", kBzip2Magic, sizeof kBzip2Magic, kBzip2BuiltIn,
     {"bzip2: unexpected end of compressed data", "bzip2: compressed data is corrupt",
      "bzip2: out of memory", "bzip2 support not built in"}},
    {Codec::xz, "xz", kXzMagic, sizeof kXzMagic, kXzBuiltIn,
     {"xz: unexpected end of compressed data", "xz: compressed data is corrupt",
      "xz: out of memory", "xz support not built in"}},
    {Codec::zstd, "zstd", kZstdMagic, sizeof kZstdMagic, kZstdBuiltIn,
     {"zstd: unexpected end of compressed data", "zstd: compressed data is corrupt",
      "zstd: out of memory", "zstd support not built in"}},
};

const CodecEntry& entry(Codec codec) {
  for (const CodecEntry& e : kCodecs) {
    if (e.codec == codec) return e;
  }
  return kCodecs[0];
}

// A zstd skippable frame (magic 0x184D2A50 to 0x184D2A5F, little endian) may open a zstd file
// too, as some parallel compressors write one first.
bool startsWithSkippableFrame(const unsigned char* bytes, std::size_t size) {
  return size >= 4 && (bytes[0] & 0xf0) == 0x50 && bytes[1] == 0x2a && bytes[2] == 0x4d &&
         bytes[3] == 0x18;
}

}  // namespace

Codec detectCodec(const unsigned char* bytes, std::size_t size) {
  for (const CodecEntry& e : kCodecs) {
    if (e.magic == nullptr || size < e.magicLength) continue;
    if (std::memcmp(bytes, e.magic, e.magicLength) != 0) continue;
    // "BZh" is followed by the block size digit; text starting with "BZh" stays text.
    if (e.codec == Codec::bzip2 && (size < 4 || bytes[3] < '1' || bytes[3] > '9')) continue;
    return e.codec;
  }
  if (startsWithSkippableFrame(bytes, size)) return Codec::zstd;
  return Codec::plain;
}

const char* codecName(Codec codec) { return entry(codec).name; }

bool codecBuiltIn(Codec codec) { return entry(codec).builtIn; }

const CodecTexts& codecTexts(Codec codec) { return entry(codec).texts; }
