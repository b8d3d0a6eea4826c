#include "build/input_formats.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the command line promises for each letter: its type, its vantage number, in which pass
// its contents are read, and which contents it refuses.
TEST(InputFormatsTest, EveryLetterHasItsRow) {
  enum Pass { first, merge, both };
  struct Case {
    char letter;
    FileType type;
    bool vantage;
    Pass pass;
    const char* allowed;  // content letters it gives
  } cases[] = {
      {'b', bgpFile, false, merge, "i"},     {'B', bgpFile, true, merge, "i"},
      {'s', satFile, false, first, "nedci"}, {'v', vantageFile, false, first, "ned"},
      {'p', pathFile, false, first, "nedc"}, {'u', unknownFile, false, first, "ne"},
      {'t', tableFile, false, both, "neci"}, {'T', tableFile, true, both, "neci"},
      {'r', asrelFile, false, first, "ned"}, {'m', mrtFile, false, both, "neci"},
  };
  for (const Case& c : cases) {
    const InputFormat* format = findFormat(c.letter);
    ASSERT_NE(format, nullptr) << c.letter;
    EXPECT_EQ(format->type, c.type) << c.letter;
    EXPECT_EQ(format->takesVantage, c.vantage) << c.letter;
    int32_t allowed = 0;
    for (const char* l = c.allowed; *l != '\0'; ++l) allowed |= findContent(*l)->flag;
    EXPECT_EQ(format->allowedContents, allowed) << c.letter;
    EXPECT_EQ(format->refusal != nullptr, allowed != 31) << c.letter;
    // Each pass a format is read in has its parser and its way of using a record.
    EXPECT_EQ(format->handleLine != nullptr, c.pass != merge) << c.letter;
    EXPECT_EQ(format->makeParser != nullptr, c.pass != merge) << c.letter;
    EXPECT_EQ(format->routeOf != nullptr, c.pass != first) << c.letter;
    EXPECT_EQ(format->makeRouteParser != nullptr, c.pass != first) << c.letter;
    EXPECT_EQ(readInMerge(*format, getIPCovering), c.pass != first) << c.letter;
    EXPECT_EQ(readInBothPasses(*format, getNodes | getIPCovering), c.pass == both) << c.letter;
    EXPECT_FALSE(readInBothPasses(*format, getIPCovering)) << c.letter;
    for (Parser* (*make)() : {format->makeParser, format->makeRouteParser}) {
      if (make == nullptr) continue;
      Parser* parser = make();
      EXPECT_NE(parser, nullptr);
      delete parser;
    }
    EXPECT_EQ(formatOf(c.type).type, c.type);
  }
  for (char letter : std::string("nedciBxq-")) {
    if (letter != 'B') {
      EXPECT_EQ(findFormat(letter), nullptr) << letter;
    }
  }
}

// Contents are read in the order n, e, d, c, i with the bits 1 to 16.
TEST(InputFormatsTest, ContentLettersInReadingOrder) {
  const std::string order = "nedci";
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(contentLetters[k].letter, order[k]);
    EXPECT_EQ(contentLetters[k].flag, 1 << k);
    EXPECT_EQ(findContent(order[k]), &contentLetters[k]);
  }
  EXPECT_EQ(findContent('p'), nullptr);
}

}  // namespace
