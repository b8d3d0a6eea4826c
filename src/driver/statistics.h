// What the run made of its inputs, on standard error after the build: with --stats one line per
// reading of an input file and one for the graph; without it, a warning about each file of a
// modern format from which nothing at all could be used.
#ifndef ZELGRIN_DRIVER_STATISTICS_H
#define ZELGRIN_DRIVER_STATISTICS_H

#include <cstdio>
#include <vector>

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/input_file.h"

// "`paths.txt': 5599 lines read, 5540 used, 59 skipped: 38 Invalid AS number, 21 ..." per
// reading (a second reading of one file says "(IP covering)"), then "Graph: 245 nodes, ...".
void printStatistics(std::FILE* out, const std::vector<InputFile>& inputs,
                     const BuildReport& report, ASGraph& graph);

// A reading reports how many of its records reached an edge of the graph when it takes
// directions or IP covering, which change edges that exist and make none.
inline bool reportsApplied(const InputFile& input) {
  return (input.contents & (getDirections | getIPCovering)) != 0;
}

// The graph's totals that --stats prints.
struct GraphTotals {
  unsigned long long nodes = 0;
  unsigned long long edges = 0;
  unsigned long long oriented = 0;
  unsigned long long pathCovered = 0;  // edges with path covering either way
  unsigned long long ipCovered = 0;    // edges with IP covering either way
};
GraphTotals graphTotals(ASGraph& graph);

// "Graph: 245 nodes, 612 edges, 0 oriented, 598 with path covering, 0 with IP covering".
void printGraphTotals(std::FILE* out, ASGraph& graph);

// "Warning: nothing could be used from `NAME' (...)" for each file whose readings used nothing:
// any file of a format that warns (InputFormat::warnWhenUnused), a file of the others when it
// held at least one line; not for the entries `warnedElsewhere` marks (null: none), which have a
// warning that says more.
void warnUnusedInputs(std::FILE* out, const std::vector<InputFile>& inputs,
                      const BuildReport& report,
                      const std::vector<bool>* warnedElsewhere = nullptr);

#endif  // ZELGRIN_DRIVER_STATISTICS_H
