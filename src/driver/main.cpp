// Entry point: parses the command line, protects an existing output file, reads the graph to
// enhance, builds the graph from the input files and writes it. The exit status tells the kind
// of failure: 1 syntax error, 2 a file could not be opened, 3 refused, invalid or unwritable.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"
#include "build/build_graph.h"
#include "driver/command_line.h"
#include "driver/console.h"
#include "driver/statistics.h"

namespace {

// Exit statuses: the kind of failure a script can tell apart.
enum exit_status : int {
  exitOk = 0,          // the graph was written, or help or version asked for
  exitSyntax = 1,      // syntax error on the command line
  exitUnreadable = 2,  // an input could not be opened or read, or the output not created
  exitRefused = 3,     // overwrite refused, invalid graph to enhance, or a failed write
};

// An existing output file is only replaced with the user's consent (or -f). A file that cannot
// be read is not asked about: opening it for writing will tell.
bool mayWriteOutput(const cmdLineParams& params) {
  if (params.outFile == nullptr || params.force) return true;
  FILE* existing = fopen(params.outFile, "r");
  if (existing == nullptr) return true;
  fclose(existing);
  return askOverwrite(params.outFile);
}

// Loads the graph to enhance from its file, or from standard input for "-". False after the
// failure has been reported.
bool readSourceGraph(const char* name, ASGraph& graph, bool stdoutIsTerm) {
  if (strcmp(name, "-") == 0) {
    if (graph.readFromFile(stdin)) return true;
    printHeader(stderr);
    fprintf(stderr, "Input does not appear to be a valid graph:\n");
    fprintf(stderr, "%s\n", graph.errReason());
    return false;
  }
  FILE* in = fopen(name, "r");
  if (in == nullptr) {
    const int error = errno;  // the banner may touch errno
    printHeader(stderr);
    fprintf(stderr, "Error while opening source graph `%s'\n", name);
    fprintf(stderr, "(%s)\n", strerror(error));
    return false;
  }
  if (stdoutIsTerm) printf("Reading input graph file...\n");
  const bool ok = graph.readFromFile(in);
  fclose(in);
  if (!ok) {
    printHeader(stderr);
    fprintf(stderr, "File `%s' does not appear to be a valid graph file:\n", name);
    fprintf(stderr, "%s\n", graph.errReason());
  }
  return ok;
}

// Writes the graph to the named file, or to standard output without a name; returns the exit
// status. A failure that shows only when the file is closed is a failed write as well.
int writeGraph(const char* outFile, ASGraph& graph, bool stdoutIsTerm) {
  if (outFile == nullptr) {
    if (graph.writeToFile(stdout)) return exitOk;
    printHeader(stderr);
    fprintf(stderr, "Error while dumping graph:\n");
    fprintf(stderr, "%s\n", graph.errReason());
    return exitRefused;
  }
  FILE* out = fopen(outFile, "w");
  if (out == nullptr) {
    const int error = errno;
    printHeader(stderr);
    fprintf(stderr, "Unable to open file `%s' for writing\n", outFile);
    fprintf(stderr, "(%s)\n", strerror(error));
    return exitUnreadable;
  }
  if (stdoutIsTerm) printf("Saving graph to file...\n");
  bool ok = graph.writeToFile(out);
  std::string reason = graph.errReason();
  if (fclose(out) != 0 && ok) {
    ok = false;
    reason = std::string("Could not close the graph file (") + strerror(errno) + ")";
  }
  if (ok) return exitOk;
  printHeader(stderr);
  fprintf(stderr, "Error while writing graph to file `%s':\n", outFile);
  fprintf(stderr, "%s\n", reason.c_str());
  return exitRefused;
}

}  // namespace

int main(int argc, char* argv[]) {
  const char* progName = (argc > 0 && argv[0] != nullptr) ? argv[0] : "zelgrin";

  // Step 1: the graph and the command line live here for the whole run.
  ASGraph graph;
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

  // Step 4: help and version do nothing else; no file is read or written.
  if (params.version) {
    printf("zelgrin 1.0\n");
    return exitOk;
  }
  if (params.help) {
    printHelp(stdout, progName);
    if (params.helpAll) printExtensionsHelp(stdout);
    return exitOk;
  }

  // Step 5.
  if (stdoutIsTerm) printHeader(stdout);

  // Step 6: asked before the graph is read, so that with --enhance - the first line of
  // standard input is the answer and the graph follows it.
  if (!mayWriteOutput(params)) return exitRefused;

  // Step 7: read the graph to enhance ("-" is standard input).
  if (params.sourceGraph != nullptr && !readSourceGraph(params.sourceGraph, graph, stdoutIsTerm)) {
    return exitRefused;
  }

  // Step 8: progress output only when it cannot mix with a graph written to standard output.
  const bool progress = stdoutIsTerm && params.outFile != nullptr;

  // Step 9: build the graph from the input files; a file that cannot be opened or read ends
  // the run with the status graph construction gives.
  BuildReport report(params.numOtherFiles + params.numBGPFiles);
  const int buildResult = buildGraph(params.numOtherFiles, params.numBGPFiles, params.fileNames,
                                     params.fileTypes, params.fileContents, progress,
                                     params.verbose, params.vantagePoints, graph, &report);
  if (buildResult != buildOk) return exitUnreadable;
  if (params.stats) {
    printStatistics(stderr, params, report, graph);
  } else {
    warnUnusedInputs(stderr, params, report);
  }

  // Step 10: the new input files follow the names read from the input graph; the comment is
  // always replaced, so without --comment it becomes empty.
  // A file read in both passes has two entries and is recorded once, at its first.
  char* recorded[maxInputFiles];
  for (int k = 0; k < maxInputFiles; ++k) {
    recorded[k] = params.rereads[k] ? nullptr : params.fileNames[k];
  }
  graph.setSourceFiles(recorded, false);
  graph.setComment(params.comment);

  // Step 11: write the graph to the output file or standard output. Step 12: status 0.
  return writeGraph(params.outFile, graph, stdoutIsTerm);
}
