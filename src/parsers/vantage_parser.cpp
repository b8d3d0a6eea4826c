#include "parsers/vantage_parser.h"

Parser::NextLineResult VantageParser::nextLine() { return readLineLongerThan(4); }

Parser::ParseResult VantageParser::parseLine() {
  ParseResult code = beginParse();
  if (code != parseOk) return code;
  data.peering = false;
  long long number[3];
  const char* text = line();
  const char* last = text + lineLength();
  const char* end = nullptr;
  for (int i = 0; i < 3; ++i, text = end) {
    end = i < 2 ? scanASInteger(text, last, number[i], width())
                : readScanInteger(text, last, number[i]);
    if (end == text) {
      setReason("Unable to find either AS number and/or direction");
      return parseMissingField;
    }
  }
  for (int i = 0; i < 2; ++i) {
    // Checked on the full value: a number past the int range must not wrap into a valid AS.
    if (!acceptAS(number[i], true)) {
      setNumberReason("Invalid AS number: `", number[i]);
      return parseBadValue;
    }
  }
  if (number[2] != 0 && number[2] != 1) {
    setNumberReason("Edge direction cannot be `", number[2]);
    return parseBadValue;
  }
  data.from = static_cast<ASNumber>(number[1]);
  data.to = static_cast<ASNumber>(number[0]);
  data.peering = number[2] == 0;
  return parseOk;
}
