#include "parsers/vantage_parser.h"

#include "parsers/scan.h"

int vantageParser::nextLine() { return readLineLongerThan(4); }

int vantageParser::parseLine() {
  int code = beginParse();
  if (code != 0) return code;
  data.peering = false;
  long long number[3];
  if (scanIntegers(line(), number, 3) < 3) {
    setReason("Unable to find either AS number and/or direction");
    return 4;
  }
  for (int i = 0; i < 2; ++i) {
    // Checked on the full value: a number past the int range must not wrap into a valid AS.
    if (number[i] < 0 || number[i] > 65535) {
      setNumberReason("Invalid AS number: `", number[i]);
      return 3;
    }
  }
  if (number[2] != 0 && number[2] != 1) {
    setNumberReason("Edge direction cannot be `", number[2]);
    return 3;
  }
  data.from = static_cast<unsigned short>(number[1]);
  data.to = static_cast<unsigned short>(number[0]);
  data.peering = number[2] == 0;
  return 0;
}
