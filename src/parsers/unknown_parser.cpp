#include "parsers/unknown_parser.h"

#include "parsers/scan.h"

int unknownParser::nextLine() { return readLineLongerThan(0); }

int unknownParser::parseLine() {
  int code = beginParse();
  if (code != 0) return code;
  long long number[2];
  if (scanIntegers(line(), number, 2) < 2) {
    setQuotedReason("Invalid edge or AS number: `", line(), lineLength());
    return 4;
  }
  for (int i = 0; i < 2; ++i) {
    // Checked on the full value: a number past the int range must not wrap into a valid AS.
    if (number[i] < 0 || number[i] > 65535) {
      setNumberReason("Invalid AS number: `", number[i]);
      return 3;
    }
  }
  data.from = static_cast<unsigned short>(number[0]);
  data.to = static_cast<unsigned short>(number[1]);
  return 0;
}
