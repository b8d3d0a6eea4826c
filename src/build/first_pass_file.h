// Reading one input file of the first pass (a file that is not merged by prefix) from start to
// end into the graph. Used by buildGraph, and by the threads of readAddingFiles, which read
// several such files at once and report their failures afterwards, in input order.
#ifndef ZELGRIN_BUILD_FIRST_PASS_FILE_H
#define ZELGRIN_BUILD_FIRST_PASS_FILE_H

#include <string>
#include <vector>

#include "build/build_report.h"
#include "build/edge_lookup.h"
#include "build/input_file.h"
#include "parsers/address_order.h"

// How one reading of a file ended. The messages of a failure are left to the caller.
struct FileReading {
  int result = 0;           // a BuildResult: buildOk, or buildInputFailed
  bool openFailed = false;  // failed: it could not be opened, with the system's error number
  int openErrno = 0;
  std::string readFailure;  // failed after opening: why it could not be read
  // A reading that shows its progress afterwards (showReading): the positions that may redraw
  // the bar, against the file's size, and the position at its end.
  std::vector<unsigned long long> barPositions;
  unsigned long long barTotal = 0;
  unsigned long long endPosition = 0;
  // What the reading learnt of the order of the file's routes, for the merge (see
  // Parser::addressOrderSeen).
  AddressOrder addressOrder;
};

// Where a reading stands among the steps of the build, for its announcement on standard output
// (BuildOptions::progress).
struct ReadingStep {
  int step = 1;
  int totalSteps = 1;
};

// The lines of a plain file that one reading of a file read in parts takes: those that start
// in [begin, end).
struct FilePart {
  unsigned long long begin = 0;
  unsigned long long end = 0;
};

// Reads `input` into `edges`, counting into entry `entry` of `report` (may be null). With
// options.progress it announces the step and draws the bar, or with `deferProgress` keeps the
// bar in the reading for showReading; with options.verbose it reports each unreadable line.
// With `threads` > 1, a file whose records are paths is parsed ahead by reader threads while
// this one adds the paths, in file order. With `part`, only that part of a plain file.
FileReading readFirstPassFile(const InputFile& input, int entry, const ReadingStep& step,
                              const BuildOptions& options, int threads, bool deferProgress,
                              EdgeLookup& edges, BuildReport* report,
                              const FilePart* part = nullptr);

// Prints what a reading made with deferProgress prints as it goes (with options.progress), and
// its failure, if any: the bytes of the same reading made without it.
void showReading(const InputFile& input, const ReadingStep& step, const BuildOptions& options,
                 const FileReading& reading);

// Prints the failure of a reading that did not end with buildOk.
void reportReadingFailure(const InputFile& input, const FileReading& reading);

#endif  // ZELGRIN_BUILD_FIRST_PASS_FILE_H
