#include "export/text_escape.h"

#include "export_test_graph.h"

TEST(TextEscape, EachSyntaxEscapesItsOwnCharactersAndReplacesBadUtf8) {
  const struct {
    const char* text;
    TextSyntax syntax;
    const char* expected;
  } cases[] = {
      {"a&b<c>\"d'", TextSyntax::xml, "a&amp;b&lt;c&gt;\"d'"},
      {"a\"b\\c", TextSyntax::json, "a\\\"b\\\\c"},
      {"a\"b\\c", TextSyntax::dot, "a\\\"b\\\\c"},
      {"t\tx\x01y", TextSyntax::xml, "t\tx\xEF\xBF\xBDy"},
      {"t\tx\x01y", TextSyntax::json, "t\\u0009x\\u0001y"},
      {"t\tx\x7Fy", TextSyntax::dot, "t\xEF\xBF\xBDx\xEF\xBF\xBDy"},
      // Well-formed multi-byte characters pass: é, €, an emoji.
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", TextSyntax::xml,
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      // A lone continuation byte, Latin-1 é, an overlong '/', a surrogate, past U+10FFFF and
      // a sequence cut short by the end: one replacement per bad byte.
      {"\x80", TextSyntax::json, "\xEF\xBF\xBD"},
      {"caf\xE9!", TextSyntax::xml, "caf\xEF\xBF\xBD!"},
      {"\xC0\xAF", TextSyntax::xml, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xED\xA0\x80", TextSyntax::xml, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xF4\x90\x80\x80", TextSyntax::dot, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"x\xE2\x82", TextSyntax::xml, "x\xEF\xBF\xBD\xEF\xBF\xBD"},
      // XML 1.0 forbids U+FFFF even when well-formed.
      {"\xEF\xBF\xBF", TextSyntax::xml, "\xEF\xBF\xBD"},
      // For a terminal: ESC, DEL, a C1 CSI (U+009B), a bad byte and the backslash itself are
      // written out so that none acts and each can be told back; é and quotes pass.
      {"\x1B[2J\x7F\xC2\x9B\xFF"
       "a\\b \xC3\xA9\"",
       TextSyntax::terminal, "\\x1b[2J\\x7f\\xc2\\x9b\\xffa\\\\b \xC3\xA9\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(render([&](OutputBuffer& out) { appendEscaped(out, c.text, c.syntax); }), c.expected)
        << c.text;
  }
}

TEST(TextEscape, StringForTerminal) {
  EXPECT_EQ(escapedForTerminal("line `\x01\t'"), "line `\\x01\\x09'");
}
