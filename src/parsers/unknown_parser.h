// Reader of AS couple lists (edges whose direction is not known) for graph construction.
// Format, one couple per line:  <AS1> <AS2>     e.g. "701 1239"
// Numbers read as C's "%i" (decimal, 0-prefixed octal, 0x hexadecimal); AS numbers 0 to 65535;
// text after the second number is ignored. Blank lines are delivered and fail to parse.
#ifndef ZELGRIN_PARSERS_UNKNOWN_PARSER_H
#define ZELGRIN_PARSERS_UNKNOWN_PARSER_H

#include "asgraph/as_number.h"
#include "parsers/parser.h"

class UnknownParser : public Parser {
 public:
  struct ParsedData {
    ASNumber from = 0;  // the first AS of the line
    ASNumber to = 0;    // the second AS of the line
  };

  UnknownParser() = default;
  ~UnknownParser() override = default;

  // Fills `data` from the current line: parseOk, parseEmptyLine, parseBadValue for an AS outside
  // the run's range, parseMissingField for fewer than two numbers, parseNoFile.
  ParseResult parseLine() override;
  // Next line of the file, a blank one too.
  NextLineResult nextLine() override;

  ParsedData data;
};

#endif  // ZELGRIN_PARSERS_UNKNOWN_PARSER_H
