#include "parsers/table_tokens.h"

void splitTableTokens(const char* text, std::size_t from, std::size_t length,
                      std::vector<TableToken>& tokens) {
  tokens.clear();
  std::size_t i = skipTableBlanks(text, from, length);
  while (i < length) {
    TableToken token;
    token.start = i;
    while (i < length && !isTableBlank(text[i])) ++i;
    token.end = i;
    tokens.push_back(token);
    i = skipTableBlanks(text, i, length);
  }
}

std::size_t skipTableBlanks(const char* text, std::size_t from, std::size_t length) {
  while (from < length && isTableBlank(text[from])) ++from;
  return from;
}

bool isFieldToken(const char* text, const TableToken& token) {
  if (token.length() == 1 && text[token.start] == '-') return true;
  for (std::size_t i = token.start; i < token.end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return token.length() > 0;
}
