#include "parsers/vantage_parser.h"

#include "parsers/scan.h"

int vantageParser::nextLine() { return readLineLongerThan(4); }

int vantageParser::parseLine() {
  int code = beginParse();
  if (code != parseOk) return code;
  data.peering = false;
  long long number[3];
  const char* text = line();
  if (!scanASInteger(text, number[0]) || !scanASInteger(text, number[1]) ||
      !scanInteger(text, number[2])) {
    setReason("Unable to find either AS number and/or direction");
    return parseMissingField;
  }
  for (int i = 0; i < 2; ++i) {
    // Checked on the full value: a number past the int range must not wrap into a valid AS.
    if (!asInRange(number[i], true)) {
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
