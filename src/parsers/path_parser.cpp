#include "parsers/path_parser.h"

#include <cstdlib>
#include <cstring>

#include "parsers/scan.h"

int pathParser::nextLine() { return readLineLongerThan(0); }

int pathParser::parseLine() {
  int code = beginParse();
  if (code != 0) return code;
  work_.assign(line(), lineLength());
  while (!data.path.isEmpty()) data.path.pop();
  TokenSplitter tokens(&work_[0]);
  bool privateSegment = false;
  for (char* token = tokens.next(); token != nullptr; token = tokens.next()) {
    if (token[0] == '(') privateSegment = true;
    if (!privateSegment) {
      char* end = nullptr;
      long as = std::strtol(token, &end, 10);
      if (as <= 0 || as > 65535 || *end != '\0') {
        setQuotedReason("Invalid AS number: `", token);
        return 3;
      }
      data.path.enqueue(static_cast<unsigned short>(as));
    }
    if (token[std::strlen(token) - 1] == ')') privateSegment = false;
  }
  return 0;
}
