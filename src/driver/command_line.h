// The parsed command line: the run's settings, and the input files in reading order (non-dump
// files first, the files merged by prefix last). Filled once by the driver with parseArguments.
#ifndef ZELGRIN_DRIVER_COMMAND_LINE_H
#define ZELGRIN_DRIVER_COMMAND_LINE_H

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "build/input_file.h"

// At most this many input entries are held (a file read in both passes takes two).
constexpr std::size_t maxInputFiles = 100;
// Longest comment kept; longer ones are cut.
constexpr std::size_t maxCommentLength = 512;

// The settings of one run, as the command line gave them.
struct RunOptions {
  bool as32 = false;           // --as32: AS numbers up to 4294967295 and asdot in every input
  bool verbose = false;        // -v: report each line that does not parse
  bool force = false;          // -f: replace an existing output file without asking
  bool stats = false;          // --stats: what each input gave, and the graph's totals
  bool statsJson = false;      // --stats=json: the same as one JSON object (stats set too)
  bool exactCovering = false;  // --exact-covering: each address counted once per way
  bool noSelfLoops = false;    // --no-self-loops: an AS repeated in a path makes no self-loop
  bool ipv6 = false;           // --ipv6: the IPv6 graph, from IPv6 routes, counted in /64 units
  bool help = false;
  bool helpAll = false;                // --help-all: the help followed by the extensions
  bool version = false;                // --version
  std::string comment;                 // at most maxCommentLength bytes, no line break
  std::optional<std::string> outFile;  // none: standard output
  bool outFileBare = false;  // the output was named by the bare argument after the files, not -o
  std::optional<std::string> sourceGraph;  // none: no graph to enhance; "-": standard input
  AddressRanges ipRanges;  // --ip-range: IP covering of these addresses only (empty: all)
  bool sum = false;        // --sum: add up graph files instead of building
  std::vector<std::string> sumGraphs;  // the graph files to add, in order ("-": standard input)
  TimeWindow timeWindow;               // --time-window: records stamped outside it are passed over
  // -j: threads graph construction may use, 1 to maxThreads; by default the cores the process
  // may run on. 1 reads every input in the main thread.
  int threads = 1;
};

// Largest -j.
constexpr int maxThreads = 256;

struct CommandLine {
  RunOptions options;
  std::vector<InputFile> inputs;  // reading order
  // After a syntax error: a line that may help to mend it, printed after the usual lines;
  // empty when there is none.
  std::string hint;
};

// Fills commandLine from argv[1..argc-1]. Returns true on success with message empty; on the
// first syntax error returns false with the error text in message. Without --help or --version
// the inputs are left in reading order: grouped by lowest content bit (n, e, d, c, i), the files
// merged by prefix (BGP dumps) last. An input file named "-" is standard input. --as32 widens
// the vantage numbers wherever it stands.
// REQUIRES: commandLine freshly constructed.
bool parseArguments(int argc, char* argv[], CommandLine& commandLine, std::string& message);

// Prints the banner (unless already printed) and the help text on out; progName is argv[0].
void printHelp(FILE* out, const char* progName);

// Prints what --help-all adds after the help text: the options and letters beyond it.
void printExtensionsHelp(FILE* out);

#endif  // ZELGRIN_DRIVER_COMMAND_LINE_H
