// Compresses test inputs with the same libraries the decoders use, so that the io and parser
// tests make their gzip, bzip2, xz and zstd inputs themselves (any size, cut or damaged at will).
// A format the program was built without yields an empty string: tests skip it.
#ifndef ZELGRIN_TESTS_IO_COMPRESS_H
#define ZELGRIN_TESTS_IO_COMPRESS_H

#include <string>
#include <vector>

#include "io/codec.h"

#ifdef ZELGRIN_WITH_GZIP
#include <zlib.h>
#endif
#ifdef ZELGRIN_WITH_BZIP2
#include <bzlib.h>
#endif
#ifdef ZELGRIN_WITH_XZ
#include <lzma.h>
#endif
#ifdef ZELGRIN_WITH_ZSTD
#include <zstd.h>
#endif

// The compressed formats this build decodes.
inline std::vector<Codec> builtInCodecs() {
  std::vector<Codec> codecs;
  for (Codec codec : {Codec::gzip, Codec::bzip2, Codec::xz, Codec::zstd}) {
    if (codecBuiltIn(codec)) codecs.push_back(codec);
  }
  return codecs;
}

// `text` as one gzip member, bzip2 stream, xz stream or zstd frame (with its checksum, as the
// command-line tools write them), or as it is for plain; empty when the format is not built in.
inline std::string compress(Codec codec, const std::string& text) {
  std::string packed;
  switch (codec) {
    case Codec::plain:
      return text;
#ifdef ZELGRIN_WITH_GZIP
    case Codec::gzip: {
      z_stream stream{};
      deflateInit2(&stream, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
      packed.resize(deflateBound(&stream, text.size()) + 32);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
      stream.avail_in = static_cast<uInt>(text.size());
      stream.next_out = reinterpret_cast<Bytef*>(&packed[0]);
      stream.avail_out = static_cast<uInt>(packed.size());
      deflate(&stream, Z_FINISH);
      packed.resize(stream.total_out);
      deflateEnd(&stream);
      break;
    }
#endif
#ifdef ZELGRIN_WITH_BZIP2
    case Codec::bzip2: {
      unsigned size = static_cast<unsigned>(text.size() + text.size() / 100 + 600);
      packed.resize(size);
      BZ2_bzBuffToBuffCompress(&packed[0], &size, const_cast<char*>(text.data()),
                               static_cast<unsigned>(text.size()), 9, 0, 0);
      packed.resize(size);
      break;
    }
#endif
#ifdef ZELGRIN_WITH_XZ
    case Codec::xz: {
      packed.resize(lzma_stream_buffer_bound(text.size()));
      std::size_t size = 0;
      lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr,
                              reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                              reinterpret_cast<uint8_t*>(&packed[0]), &size, packed.size());
      packed.resize(size);
      break;
    }
#endif
#ifdef ZELGRIN_WITH_ZSTD
    case Codec::zstd: {
      ZSTD_CCtx* context = ZSTD_createCCtx();
      ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1);
      packed.resize(ZSTD_compressBound(text.size()));
      packed.resize(ZSTD_compress2(context, &packed[0], packed.size(), text.data(), text.size()));
      ZSTD_freeCCtx(context);
      break;
    }
#endif
    default:
      break;
  }
  return packed;
}

// Text of many short lines of AS numbers, `size` bytes or a little more; deterministic.
inline std::string manyLines(std::size_t size) {
  std::string text;
  unsigned seed = 12345;
  while (text.size() < size) {
    seed = seed * 1103515245u + 12345u;
    text += std::to_string(seed % 65000 + 1) + " " + std::to_string(seed / 7 % 4000 + 1) + "\n";
  }
  return text;
}

#endif  // ZELGRIN_TESTS_IO_COMPRESS_H
