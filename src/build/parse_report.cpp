#include "build/parse_report.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"

void reportParseError(Parser& parser, const char* fileName, bool firstPass) {
  std::fputs("\n", stderr);
  printHeader(stderr);
  std::fprintf(stderr, firstPass ? "\nParse error in line %lu of file `%s':\n"
                                 : "Parse error in line %lu of file `%s':\n",
               static_cast<unsigned long>(parser.readLines()), fileName);
  std::fprintf(stderr, "%s\n", parser.currentLine());
  std::fprintf(stderr, "%s\n", parser.errReason());
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
