// Reading one input file of the first pass (a file that is not merged by prefix) from start to
// end into the graph. Used by buildGraph, and by the threads of readAddingFiles, which read
// several such files at once and report their failures afterwards, in input order.
#ifndef ZELGRIN_BUILD_FIRST_PASS_FILE_H
#define ZELGRIN_BUILD_FIRST_PASS_FILE_H

#include <string>

#include "build/build_report.h"
#include "build/edge_lookup.h"
#include "build/input_file.h"

// How one reading of a file ended. The messages of a failure are left to the caller.
struct FileReading {
  int result = 0;           // a BuildResult: buildOk, or buildInputFailed
  bool openFailed = false;  // failed: it could not be opened, with the system's error number
  int openErrno = 0;
  std::string readFailure;  // failed after opening: why it could not be read
};

// Where a reading stands among the steps of the build, for its announcement on standard output
// (BuildOptions::progress).
struct ReadingStep {
  int step = 1;
  int totalSteps = 1;
};

// Reads `input` into `edges`, counting into entry `entry` of `report` (may be null). With
// options.progress it announces the step and draws the bar; with options.verbose it reports
// each unreadable line. With `threads` > 1, a file whose records are paths is parsed ahead by
// reader threads while this one adds the paths, in file order.
FileReading readFirstPassFile(const InputFile& input, int entry, const ReadingStep& step,
                              const BuildOptions& options, int threads, EdgeLookup& edges,
                              BuildReport* report);

// Prints the failure of a reading that did not end with buildOk.
void reportReadingFailure(const InputFile& input, const FileReading& reading);

#endif  // ZELGRIN_BUILD_FIRST_PASS_FILE_H
