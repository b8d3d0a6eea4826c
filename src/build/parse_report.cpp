#include "build/parse_report.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"

void reportParseError(Parser& parser, const char* fileName, bool firstPass) {
  reportParseError(parser.readLines(), parser.currentLine(), parser.errReason(), fileName,
                   firstPass);
}

void reportParseError(unsigned long lineNumber, const char* line, const char* reason,
                      const char* fileName, bool firstPass) {
  std::fputs("\n", stderr);
  printHeader(stderr);
  std::fprintf(stderr,
               firstPass ? "\nParse error in line %lu of file `%s':\n"
                         : "Parse error in line %lu of file `%s':\n",
               lineNumber, fileName);
  std::fprintf(stderr, "%s\n", line);
  std::fprintf(stderr, "%s\n", reason);
}

void reportOpenFailure(const char* fileName, int errorNumber) {
  printHeader(stderr);
  std::fprintf(stderr, "Error: Unable to open input file `%s'\n", fileName);
  std::fprintf(stderr, "(%s)\n", std::strerror(errorNumber));
}

void reportReadFailure(const char* fileName, const char* reason) {
  printHeader(stderr);
  std::fprintf(stderr, "Error: Unable to read input file `%s'\n", fileName);
  std::fprintf(stderr, "(%s)\n", reason);
}
