// The command line of zelgrin-export: one graph file, the format to write it in, the part of
// the graph to write and where to. Filled once by main with parseExportArguments.
#ifndef ZELGRIN_EXPORT_COMMAND_LINE_H
#define ZELGRIN_EXPORT_COMMAND_LINE_H

#include <cstdio>
#include <string>

#include "asgraph/as_number.h"

enum class ExportFormat { summary, graphml, csv, json, dot };

struct ExportOptions {
  ExportFormat format = ExportFormat::summary;
  const char* graphFile = nullptr;  // "-": standard input
  const char* output = nullptr;     // null (-o - or none): standard output; a folder for csv
                                    // without edgesOnly
  bool edgesOnly = false;           // csv: the edge table alone, as one stream
  bool around = false;              // only the neighbourhood of aroundAS
  ASNumber aroundAS = 0;
  unsigned depth = 1;
  bool help = false;     // --help or --help-all: there is no more to tell
  bool helpAll = false;  // --help-all: the help and what it adds to the classic one
  bool version = false;
};

// Fills options from argv[1..argc-1] (the strings are not copied). True on success; on the
// first syntax error false with its text in message. --around takes 32-bit AS numbers.
bool parseExportArguments(int argc, char* const argv[], ExportOptions& options,
                          std::string& message);

// Prints the help text on out; with `all`, what --help-all adds after it.
void printExportHelp(std::FILE* out, bool all);

#endif  // ZELGRIN_EXPORT_COMMAND_LINE_H
