#include "parsers/path_parser.h"

#include <climits>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }


// The white space strtol skips that a token can hold: blanks end tokens, and the line reader
// ends a line at its first carriage return or line feed, but not at these.
bool isOtherSpace(char c) { return c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

// strtol(text, &end, 10) on the token [text, limit): leading white space, an optional sign and
// decimal digits, a magnitude past the range of long giving LONG_MAX or LONG_MIN. Returns where
// the reading stopped, `text` itself when no digit came.
const char* scanDecimal(const char* text, const char* limit, long long& value) {
  const char* p = text;
  while (p < limit && isOtherSpace(*p)) ++p;
  bool negative = false;
  if (p < limit && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == limit || *p < '0' || *p > '9') {
    value = 0;
    return text;
  }
  const unsigned long long most = negative ? 0ULL - static_cast<unsigned long long>(LONG_MIN)
                                           : static_cast<unsigned long long>(LONG_MAX);
  unsigned long long magnitude = 0;
  bool overflow = false;
  for (; p < limit && *p >= '0' && *p <= '9'; ++p) {
    const unsigned digit = static_cast<unsigned>(*p - '0');
    if (magnitude > (most - digit) / 10) {
      overflow = true;
    } else {
      magnitude = magnitude * 10 + digit;
    }
  }
  if (overflow) {
    value = negative ? LONG_MIN : LONG_MAX;
  } else {
    value = negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
  }
  return p;
}

}  // namespace

int pathParser::nextLine() { return readLineLongerThan(0); }

// Reads the tokens straight from the line and fills the kept path list, so that a line costs no
// allocation once the list has grown to the longest path.
int pathParser::parseLine() {
  int code = beginParse();
  if (code != parseOk) return code;
  data.path.clear();
  bool privateSegment = false;
  for (const char* p = line();;) {
    while (isBlank(*p)) ++p;
    if (*p == '\0') break;
    const char* token = p;
    unsigned digit = static_cast<unsigned char>(*p) - unsigned('0');
    if (digit <= 9 && !privateSegment) {
      // Nearly every token is decimal digits alone: read those in one pass. Anything else after
      // the digits, or more than nineteen of them (which could overflow), takes the general
      // reading below.
      unsigned long long as = digit;
      while ((digit = static_cast<unsigned char>(*++p) - unsigned('0')) <= 9) {
        as = as * 10 + digit;
      }
      if ((*p == '\0' || isBlank(*p)) && p - token <= 19) {
        if (!asInRange(as)) return badToken(token, p);
        data.path.enqueue(static_cast<ASNumber>(as));
        continue;
      }
      p = token;
    }
    while (*p != '\0' && !isBlank(*p)) ++p;
    if (token[0] == '(') privateSegment = true;
    if (!privateSegment) {
      long long as = 0;
      const char* end = scanDecimal(token, p, as);
      readAsdotTail(token, end, as, as);  // stops at the blank or line end after the token
      if (end != p || !asInRange(static_cast<unsigned long long>(as))) return badToken(token, p);
      data.path.enqueue(static_cast<ASNumber>(as));
    }
    if (p[-1] == ')') privateSegment = false;
  }
  return parseOk;
}

int pathParser::badToken(const char* token, const char* end) {
  setQuotedReason("Invalid AS number: `", token, static_cast<std::size_t>(end - token));
  return parseBadValue;
}
