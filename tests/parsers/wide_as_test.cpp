// How every line format reads AS numbers in a 16-bit and in a 32-bit run: the range widens and
// asdot is added, and nothing else about the number rules changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "parsers/bgp_parser.h"
#include "parsers/path_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/temp_files.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

namespace {

const char kDumpHeader[] = "   Network          Next Hop            Metric LocPrf Weight Path\n";

// The first AS of the line as the format's record holds it, or the parse code when it fails,
// and whether the parser blamed the width of the run alone.
struct Outcome {
  int code;
  ASNumber as;
  bool refusedForWidth;
};

Outcome readFirstAS(char format, const std::string& as, bool wide) {
  TempFiles files;
  std::unique_ptr<Parser> parser;
  std::string text;
  switch (format) {
    case 'p':
      parser.reset(new PathParser);
      text = as + " 701\n";
      break;
    case 'v':
      parser.reset(new VantageParser);
      text = as + " 701 1\n";
      break;
    case 'u':
      parser.reset(new UnknownParser);
      text = as + " 701\n";
      break;
    case 's':
      parser.reset(new SatParser);
      text = as + " - 701 x x x 0\n";
      break;
    default:
      parser.reset(new BgpParser);
      // Weight 0 ends under its caption's last letter, the path starts under "Path".
      text = std::string(kDumpHeader) + "*> 10.0.0.0/8       192.0.2.1" + std::string(30, ' ') +
             "0 " + as + " i\n";
  }
  parser->setWidth(ASWidth{wide});
  EXPECT_TRUE(parser->openFile(files.write(text).c_str()));
  EXPECT_EQ(parser->nextLine(), Parser::lineReady);
  const int code = parser->parseLine();
  if (code != Parser::parseOk) return {code, 0, parser->refusedForWidth()};
  switch (format) {
    case 'p':
      return {code, static_cast<PathParser&>(*parser).data.path.first(), false};
    case 'v':
      return {code, static_cast<VantageParser&>(*parser).data.to, false};
    case 'u':
      return {code, static_cast<UnknownParser&>(*parser).data.from, false};
    case 's':
      return {code, static_cast<SatParser&>(*parser).data.from, false};
    default:
      return {code, static_cast<BgpParser&>(*parser).data.path.first().AS, false};
  }
}

TEST(WideASTest, EveryFormatWidensAndReadsAsdot) {
  const int ok = Parser::parseOk;
  struct Case {
    const char* as;
    bool in16;  // read in a 16-bit run
    bool in32;  // read in a 32-bit run
    ASNumber value;
  } cases[] = {
      {"65535", true, true, 65535},
      {"65536", false, true, 65536},
      {"4294967295", false, true, 4294967295u},
      {"4294967296", false, false, 0},
      {"99999999999999999999", false, false, 0},
      {"1.10", false, true, 65546},
      {"65535.65535", false, true, 4294967295u},
      {"1.", false, false, 0},
      {"65536.1", false, false, 0},
      {"1.65536", false, false, 0},
      {"1.2.3", false, false, 0},
  };
  for (char format : std::string("pvusb")) {
    for (const Case& c : cases) {
      for (bool wide : {false, true}) {
        const Outcome got = readFirstAS(format, c.as, wide);
        const bool expected = wide ? c.in32 : c.in16;
        EXPECT_EQ(got.code == ok, expected) << format << " " << c.as << (wide ? " wide" : "");
        if (expected) {
          EXPECT_EQ(got.as, c.value) << format << " " << c.as;
        }
        // Only a plain number that a wide run takes is refused for the width.
        const bool forWidth =
            !wide && !expected && c.in32 && std::string(c.as).find('.') == std::string::npos;
        EXPECT_EQ(got.refusedForWidth, forWidth) << format << " " << c.as;
      }
    }
  }
}

// ".5" has no digit before the dot: no format takes it for asdot, whatever the width.
TEST(WideASTest, DotWithoutHighPartIsNoAsdot) {
  for (char format : std::string("pvusb")) {
    EXPECT_NE(readFirstAS(format, ".5", true).code, 0) << format;
  }
}

}  // namespace
