// Graph construction: reads every input file once and fills the AS graph. The files that are
// not BGP dumps are read one after the other; the dumps are read last, all together, merged in
// ascending order of prefix so that IP address covering counts each address once per way.
// Used by the driver.
#pragma once

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/input_formats.h"

// Results of buildGraph.
enum build_result : int {
  buildOk = 0,
  buildInputFailed = 2,  // an input file could not be opened or read; the reason was printed
};

// Reads entries 0 .. numOtherFiles-1 (not dumps, in reading order) and then merges the dumps
// numOtherFiles .. numOtherFiles+numBGPFiles-1, adding what each file's contents ask for. An
// entry named "-" is standard input. Returns a build_result; after a failure the graph keeps
// what was added before it. With a report (one entry per input entry) it also counts what each
// reading used and passed over. With exactCovering the dumps' IP covering counts each address
// once per way whatever the nesting of the prefixes. AS numbers up to width.largest().
int buildGraph(short numOtherFiles, short numBGPFiles, char** fileNames, file_type* fileTypes,
               int* fileContents, bool progress, bool verbose, ASNumber* vantagePoints,
               ASGraph& graph, BuildReport* report = nullptr, bool exactCovering = false,
               ASWidth width = ASWidth{});
