// Reader of path-saturation output for graph construction. Tokens are separated by spaces or
// tabs and counted from 1; only these are read (the others are passed over):
//   edge line               from 1, to 3, reversed flag 7 (0/1), coverings 8 and 10 (optional)
//   "candidate peering"     from 3, to 5, coverings 6 and 8 (optional)
//   "bad path:"             ASes from token 3 to the end
// e.g. "701 - 1239 x x x 0 2.5 x 3.5". ASes are decimal 1 to 65535, coverings non-negative.
#ifndef ZELGRIN_PARSERS_SAT_PARSER_H
#define ZELGRIN_PARSERS_SAT_PARSER_H

#include <optional>
#include <string>

#include "asgraph/as_number.h"
#include "containers/list.h"
#include "parsers/parser.h"

class SatParser : public Parser {
 public:
  static const char peerStr[];  // "candidate peering"
  static const char badStr[];   // "bad path:"

  // Fields a line does not reach keep their earlier values: notReversed on candidate peering
  // lines, the coverings on bad path lines and on lines failing before them.
  struct ParsedData {
    ASNumber from = 0;
    ASNumber to = 0;
    std::optional<double> firstCovering;   // absent when the line carries no coverings
    std::optional<double> secondCovering;  // absent when the line carries no coverings
    bool notReversed = false;              // the reversed flag was 0
    bool candidatePeering = false;         // the line contains peerStr
    bool badPath = false;                  // the line contains badStr
    List<ASNumber> badPathASes;            // ASes of a bad path line, in line order
  };

  SatParser() = default;
  ~SatParser() override = default;

  // Fills `data` from the current line: parseOk, parseEmptyLine, parseBadValue for an invalid
  // value, parseMissingField for a missing token, parseNoFile.
  ParseResult parseLine() override;
  // Next line longer than 5 characters with its line end; shorter ones are skipped silently.
  NextLineResult nextLine() override;

  ParsedData data;

 private:
  bool readAS(const char* token, ASNumber& as);

  std::string work_;  // tokenised copy of the line, kept to reuse its storage
};

#endif  // ZELGRIN_PARSERS_SAT_PARSER_H
