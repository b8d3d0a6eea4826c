#include "parsers/path_parser.h"

#include "parsers/digit_run.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Parser::NextLineResult PathParser::nextLine() { return readLineLongerThan(0); }

// Reads the tokens straight from the line and fills the kept path list, so that a line costs no
// allocation once the list has grown to the longest path.
Parser::ParseResult PathParser::parseLine() {
  ParseResult code = beginParse();
  if (code != parseOk) return code;
  data.path.clear();
  bool privateSegment = false;
  const char* lineEnd = line() + lineLength();
  for (const char* p = line();;) {
    while (isBlank(*p)) ++p;
    if (*p == '\0') break;
    const char* token = p;
    unsigned digit = static_cast<unsigned char>(*p) - unsigned('0');
    if (digit <= 9 && !privateSegment) {
      // Nearly every token is decimal digits alone: read those in one pass. Anything else after
      // the digits, or more than nineteen of them (which could overflow), takes the general
      // reading below.
      unsigned long long as = 0;
      p = readDigitRun(token, lineEnd, as, line());
      if ((*p == '\0' || isBlank(*p)) && p - token <= 19) {
        if (!acceptAS(as)) return badToken(token, p);
        data.path.enqueue(static_cast<ASNumber>(as));
        continue;
      }
      p = token;
    }
    while (*p != '\0' && !isBlank(*p)) ++p;
    if (token[0] == '(') privateSegment = true;
    if (!privateSegment) {
      // strtol's rules: a sign and leading zeros are taken, a long run of digits saturates.
      long long as = 0;
      const char* end = readDecimalAS(token, p, as, width());
      if (end != p || !acceptAS(static_cast<unsigned long long>(as))) return badToken(token, p);
      data.path.enqueue(static_cast<ASNumber>(as));
    }
    if (p[-1] == ')') privateSegment = false;
  }
  return parseOk;
}

Parser::ParseResult PathParser::badToken(const char* token, const char* end) {
  setQuotedReason("Invalid AS number: `", token, static_cast<std::size_t>(end - token));
  return parseBadValue;
}
