#include "parsers/unknown_parser.h"

Parser::NextLineResult UnknownParser::nextLine() { return readLineLongerThan(0); }

Parser::ParseResult UnknownParser::parseLine() {
  ParseResult code = beginParse();
  if (code != parseOk) return code;
  long long number[2];
  const char* text = line();
  const char* last = text + lineLength();
  for (long long& value : number) {
    const char* end = scanASInteger(text, last, value, width());
    if (end == text) {
      setQuotedReason("Invalid edge or AS number: `", line(), lineLength());
      return parseMissingField;
    }
    text = end;
  }
  for (int i = 0; i < 2; ++i) {
    // Checked on the full value: a number past the int range must not wrap into a valid AS.
    if (!acceptAS(number[i], true)) {
      setNumberReason("Invalid AS number: `", number[i]);
      return parseBadValue;
    }
  }
  data.from = static_cast<ASNumber>(number[0]);
  data.to = static_cast<ASNumber>(number[1]);
  return parseOk;
}
