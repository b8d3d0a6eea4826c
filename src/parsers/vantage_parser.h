// Reader of relationship files for graph construction. Format, one relationship per line:
//   <AS1> <AS2> <flag>     e.g. "701 1239 1"
// flag 1: AS1 is the provider of AS2; flag 0: they are peers. Numbers read as C's "%i" (decimal,
// 0-prefixed octal, 0x hexadecimal); AS numbers 0 to 65535; text after the flag is ignored.
#ifndef ZELGRIN_PARSERS_VANTAGE_PARSER_H
#define ZELGRIN_PARSERS_VANTAGE_PARSER_H

#include "asgraph/as_number.h"
#include "parsers/parser.h"

class VantageParser : public Parser {
 public:
  struct ParsedData {
    ASNumber from = 0;     // AS2, the customer when not peering
    ASNumber to = 0;       // AS1, the provider when not peering
    bool peering = false;  // the flag was 0
  };

  VantageParser() = default;
  ~VantageParser() override = default;

  // Fills `data` from the current line: parseOk, parseEmptyLine, parseBadValue for an AS outside
  // the run's range or a flag other than 0/1, parseMissingField for fewer than three numbers,
  // parseNoFile.
  ParseResult parseLine() override;
  // Next line longer than 4 characters with its line end; shorter ones are skipped silently.
  NextLineResult nextLine() override;

  ParsedData data;
};

#endif  // ZELGRIN_PARSERS_VANTAGE_PARSER_H
