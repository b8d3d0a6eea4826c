// Reader of plain AS path lists for graph construction. Format, one path per line, ASes
// separated by spaces or tabs:   "7018 701 (64512 65001) 1239"
// ASes are decimal, 1 to 65535 (or wider, see as_number.h); tokens from one starting with "("
// to one ending with ")" are private and left out. Blank lines are delivered and fail to parse.
#ifndef ZELGRIN_PARSERS_PATH_PARSER_H
#define ZELGRIN_PARSERS_PATH_PARSER_H

#include "asgraph/as_number.h"
#include "containers/list.h"
#include "parsers/parser.h"

class PathParser : public Parser {
 public:
  struct ParsedData {
    List<ASNumber> path;  // the ASes in line order, repetitions kept
  };

  PathParser() = default;
  ~PathParser() override = default;

  // Refills data.path from the current line: parseOk (a line of blanks gives an empty path),
  // parseEmptyLine, parseBadValue for a token that is not an AS number of the run (the path
  // then holds the ASes before it), parseNoFile.
  ParseResult parseLine() override;
  // Next line of the file, a blank one too.
  NextLineResult nextLine() override;

  ParsedData data;

 private:
  // Sets the reason quoting the token [token, end) and returns 3.
  ParseResult badToken(const char* token, const char* end);
};

#endif  // ZELGRIN_PARSERS_PATH_PARSER_H
