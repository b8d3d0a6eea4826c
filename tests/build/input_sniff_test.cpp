#include "build/input_sniff.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

std::string bytes(std::initializer_list<unsigned char> values) {
  return std::string(values.begin(), values.end());
}

// A TABLE_DUMP_V2 header: 2010-07-01, type 13, subtype 2, length 40.
const std::string kMrtHeader =
    bytes({0x4c, 0x2c, 0x4d, 0xc4, 0x00, 0x0d, 0x00, 0x02, 0x00, 0x00, 0x00, 0x28});

// Each kind is told from a first block, and text of the text formats is none of them.
TEST(InputSniffTest, TellsTheKindFromTheFirstBlock) {
  const struct {
    std::string block;
    SniffedKind kind;
  } cases[] = {
      {kMrtHeader + std::string(40, '\x01'), SniffedKind::mrt},
      {"\x1f\x02\x03\x04 text with control bytes\n"s, SniffedKind::mrt},
      {"TABLE_DUMP2|1277971140|B|195.66.224.175|13030|1.9.0.0/16|13030 3356 4788|IGP\n",
       SniffedKind::routeText},
      {"BGP4MP|1277971140|A|195.66.224.175|13030|1.9.0.0/16|13030 4788|IGP\n",
       SniffedKind::routeText},
      {"R|R|1277971140.000000|ris|rrc00|||13030|195.66.224.175|1.9.0.0/16|\n",
       SniffedKind::routeText},
      {"# source: published\n701|7018|-1\n7018|3356|0|bgp\n", SniffedKind::asrelText},
      {"701 7018 1\n7018 3356 0\n", SniffedKind::other},
      {"7018 701 1239\n", SniffedKind::other},
      {"701 7018\n\0 one NUL in a path list\n7018 3356\n3356 1299\n"s, SniffedKind::other},
      {"*> 12.0.0.0/8       198.51.100.9        0 7018 i\n", SniffedKind::other},
      // Text beginning with digits is no MRT header: its type bytes are never NUL.
      {"1277971140 13 2 40\n", SniffedKind::other},
      {"701|7018|-1\nTABLE_DUMP2|1|B|x\n", SniffedKind::other},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sniffKind(c.block), c.kind) << c.block;
  }
  EXPECT_FALSE(startsAsMRT(kMrtHeader.substr(0, 11)));
  std::string unknownType = kMrtHeader;
  unknownType[5] = 14;
  EXPECT_FALSE(startsAsMRT(unknownType));
}

}  // namespace
