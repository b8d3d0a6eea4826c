#include "parsers/path_parser.h"

#include <cstdlib>
#include <cstring>

#include "parsers/scan.h"

int pathParser::nextLine() { return readLineLongerThan(0); }

int pathParser::parseLine() {
  int code = beginParse();
  if (code != parseOk) return code;
  work_.assign(line(), lineLength());
  while (!data.path.isEmpty()) data.path.pop();
  TokenSplitter tokens(&work_[0]);
  bool privateSegment = false;
  for (char* token = tokens.next(); token != nullptr; token = tokens.next()) {
    if (token[0] == '(') privateSegment = true;
    if (!privateSegment) {
      long long as = 0;
      const char* end = readDecimalAS(token, as);
      if (!asInRange(as) || *end != '\0') {
        setQuotedReason("Invalid AS number: `", token);
        return parseBadValue;
      }
      data.path.enqueue(static_cast<ASNumber>(as));
    }
    if (token[std::strlen(token) - 1] == ')') privateSegment = false;
  }
  return parseOk;
}
