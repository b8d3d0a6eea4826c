#include "parsers/unknown_parser.h"

#include "parsers/scan.h"

int unknownParser::nextLine() { return readLineLongerThan(0); }

int unknownParser::parseLine() {
  int code = beginParse();
  if (code != parseOk) return code;
  long long number[2];
  const char* text = line();
  if (!scanASInteger(text, number[0]) || !scanASInteger(text, number[1])) {
    setQuotedReason("Invalid edge or AS number: `", line(), lineLength());
    return parseMissingField;
  }
  for (int i = 0; i < 2; ++i) {
    // Checked on the full value: a number past the int range must not wrap into a valid AS.
    if (!asInRange(number[i], true)) {
      setNumberReason("Invalid AS number: `", number[i]);
      return parseBadValue;
    }
  }
  data.from = static_cast<ASNumber>(number[0]);
  data.to = static_cast<ASNumber>(number[1]);
  return parseOk;
}
