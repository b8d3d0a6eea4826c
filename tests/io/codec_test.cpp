#include "io/codec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodecTest, RecognisesEachMagicWholeAndNothingShorter) {
  struct Case {
    std::string start;
    Codec codec;
  } cases[] = {
      {std::string("\x1f\x8b\x08", 3), Codec::gzip},
      {std::string("\x1f\x8b", 2), Codec::gzip},
      {"\x1f", Codec::plain},
      {"BZh91AY&SY", Codec::bzip2},
      {"BZh", Codec::plain},  // the block size digit is part of the magic
      {"BZhx text", Codec::plain},
      {std::string("\xfd"
                   "7zXZ\0\0",
                   7),
       Codec::xz},
      {"\xfd"
       "7zXZ",
       Codec::plain},  // five of six bytes
      {"\x28\xb5\x2f\xfd\x04", Codec::zstd},
      {"\x5a\x2a\x4d\x18", Codec::zstd},  // a skippable frame first
      {"\x5a\x2a\x4d\x19", Codec::plain},
      {"1 2 3\n", Codec::plain},
      {"", Codec::plain},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(detectCodec(reinterpret_cast<const unsigned char*>(c.start.data()), c.start.size()),
              c.codec)
        << c.start;
  }
  EXPECT_STREQ(codecName(Codec::bzip2), "bzip2");
  EXPECT_STREQ(codecTexts(Codec::xz).truncated, "xz: unexpected end of compressed data");
  EXPECT_STREQ(codecTexts(Codec::zstd).notBuiltIn, "zstd support not built in");
}

}  // namespace
