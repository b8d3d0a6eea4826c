// The parsed command line: which input files to read, in which format, what to take from each,
// and the options. Filled once by the driver with parseArguments; graph construction reads the
// parallel file arrays in the order left here (non-dump files first, BGP dumps last).
#ifndef ZELGRIN_DRIVER_COMMAND_LINE_H
#define ZELGRIN_DRIVER_COMMAND_LINE_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "asgraph/as_number.h"
#include "build/input_formats.h"

// At most this many input files are held.
constexpr int maxInputFiles = 100;
// Longest comment kept; longer ones are cut.
constexpr int maxCommentLength = 512;

// The parsed command line. Owns every string in it and frees them when destroyed.
struct cmdLineParams {
  char* fileNames[maxInputFiles];
  file_type fileTypes[maxInputFiles];
  int32_t fileContents[maxInputFiles];
  ASNumber vantagePoints[maxInputFiles];  // vantage AS of a B dump, 0 otherwise
  // The entry reads again, in the merge of the dumps, the file of an earlier entry (a router
  // table or MRT file asked for IP covering and more): the graph records its name once.
  bool rereads[maxInputFiles];
  short numOtherFiles;
  short numBGPFiles;
  bool verbose;
  bool force;
  char comment[maxCommentLength + 1];
  char* outFile;      // null: standard output
  char* sourceGraph;  // null: no graph to enhance; "-": standard input
  bool help;
  bool helpAll;  // --help-all: the help followed by the extensions
  bool version;  // --version
  bool as32;     // --as32: AS numbers up to 4294967295 and asdot in every input
  bool stats;    // --stats: what each input gave, and the graph's totals, after the build
  bool exactCovering;  // --exact-covering: each address counted once per way, whatever nests

  cmdLineParams();
  ~cmdLineParams();
  cmdLineParams(const cmdLineParams&) = delete;
  cmdLineParams& operator=(const cmdLineParams&) = delete;
};

// Fills params from argv[1..argc-1]. Returns true on success with message empty; on the first
// syntax error returns false with the error text in message. Without --help or --version the
// files are left in reading order: grouped by lowest content bit (n, e, d, c, i), the files
// merged by prefix (BGP dumps) last. An input file named "-" is standard input. Vantage numbers
// are read in the width that --as32 asks for, wherever it stands.
// REQUIRES: params freshly constructed.
bool parseArguments(int argc, char* argv[], cmdLineParams& params, std::string& message);

// Exchanges input-file entries a and b (name, type, contents and vantage point move together).
// REQUIRES: 0 <= a, b < maxInputFiles.
void dynaSwap(cmdLineParams& params, int a, int b);

// True when any of values[0..n-1] is true; false for n <= 0.
inline bool anyTrue(const bool* values, int n) {
  for (int k = 0; k < n; ++k) {
    if (values[k]) return true;
  }
  return false;
}

// Prints the banner (unless already printed) and the help text on out; progName is argv[0].
void printHelp(FILE* out, const char* progName);

// Prints what --help-all adds after the help text: the options and letters beyond it.
void printExtensionsHelp(FILE* out);

#endif  // ZELGRIN_DRIVER_COMMAND_LINE_H
