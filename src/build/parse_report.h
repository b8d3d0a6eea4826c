// Messages of graph construction about input files: unreadable lines (with -v) and files that
// cannot be opened or read. Used by the two passes of buildGraph.
#ifndef ZELGRIN_BUILD_PARSE_REPORT_H
#define ZELGRIN_BUILD_PARSE_REPORT_H

#include "parsers/parser.h"

// Reports the parser's current line and reason on standard error. The first pass separates
// its reports with an extra blank line; the merge of the dumps does not.
void reportParseError(Parser& parser, const char* fileName, bool firstPass);
// The same for a line read earlier (by a reader thread): its number, text and reason.
void reportParseError(unsigned long lineNumber, const char* line, const char* reason,
                      const char* fileName, bool firstPass);

// "Error: Unable to open input file `NAME'" and the system's text for errorNumber.
void reportOpenFailure(const char* fileName, int errorNumber);

// "Error: Unable to read input file `NAME'" and the reason in parentheses: the system's text or
// the decoder's (Parser::readErrorText).
void reportReadFailure(const char* fileName, const char* reason);

#endif  // ZELGRIN_BUILD_PARSE_REPORT_H
