#include "build/input_formats.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the command line promises for each letter: its type, its vantage number, whether it
// joins the merge of the dumps, and which contents it refuses with which message.
TEST(InputFormatsTest, EveryLetterHasItsRow) {
  struct Case {
    char letter;
    file_type type;
    bool vantage;
    bool merged;
    const char* allowed;  // content letters it gives
  } cases[] = {
      {'b', bgpFile, false, true, "i"},   {'B', bgpFile, true, true, "i"},
      {'s', satFile, false, false, "nedci"}, {'v', vantageFile, false, false, "ned"},
      {'p', pathFile, false, false, "nedc"}, {'u', unknownFile, false, false, "ne"},
  };
  for (const Case& c : cases) {
    const InputFormat* format = findFormat(c.letter);
    ASSERT_NE(format, nullptr) << c.letter;
    EXPECT_EQ(format->type, c.type) << c.letter;
    EXPECT_EQ(format->takesVantage, c.vantage) << c.letter;
    EXPECT_EQ(format->mergedByPrefix, c.merged) << c.letter;
    int32_t allowed = 0;
    for (const char* l = c.allowed; *l != '\0'; ++l) allowed |= findContent(*l)->flag;
    EXPECT_EQ(format->allowedContents, allowed) << c.letter;
    EXPECT_EQ(format->refusal != nullptr, allowed != 31) << c.letter;
    // The first pass needs a line handler, the merge a route; a row has the one it needs.
    EXPECT_EQ(format->handleLine == nullptr, c.merged) << c.letter;
    EXPECT_EQ(format->routeOf != nullptr, c.merged) << c.letter;
    Parser* parser = format->makeParser();
    EXPECT_NE(parser, nullptr);
    delete parser;
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
