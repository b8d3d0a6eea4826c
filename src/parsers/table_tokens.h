// The words of a router table line with the columns they stand in. The table reader works on
// tokens rather than on fixed columns, and keeps their positions to match them with the header.
#ifndef ZELGRIN_PARSERS_TABLE_TOKENS_H
#define ZELGRIN_PARSERS_TABLE_TOKENS_H

#include <cstddef>
#include <cstring>
#include <vector>

// One run of non-blank characters: text[start] to text[end - 1], columns counted from 0.
struct TableToken {
  std::size_t start = 0;
  std::size_t end = 0;

  std::size_t length() const { return end - start; }
};

// Blanks separate tokens: space, tab, and the control characters a terminal capture leaves
// behind (carriage return, vertical tab, form feed).
inline bool isTableBlank(char c) {
  // Most characters fail the first test, so a word costs one comparison per character.
  return static_cast<unsigned char>(c) <= ' ' &&
         (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f');
}

// Replaces `tokens` with the tokens of text[from, length). Keeps the vector's storage.
void splitTableTokens(const char* text, std::size_t from, std::size_t length,
                      std::vector<TableToken>& tokens);

// The first non-blank column at or after `from`, or `length` when there is none.
std::size_t skipTableBlanks(const char* text, std::size_t from, std::size_t length);

// True when the token is "-" or a run of decimal digits: what a metric, local preference or
// weight column holds.
bool isFieldToken(const char* text, const TableToken& token);

// True when the token is the whole text `word`, a literal.
template <std::size_t n>
bool tokenIs(const char* text, const TableToken& token, const char (&word)[n]) {
  return token.length() == n - 1 && std::memcmp(text + token.start, word, n - 1) == 0;
}

#endif  // ZELGRIN_PARSERS_TABLE_TOKENS_H
