// Graph construction: reads every input file once and fills the AS graph. The files that are
// not BGP dumps are read one after the other; the dumps are read last, all together, merged in
// ascending order of prefix so that IP address covering counts each address once per way.
// Used by the driver.
#ifndef ZELGRIN_BUILD_BUILD_GRAPH_H
#define ZELGRIN_BUILD_BUILD_GRAPH_H

#include <vector>

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/input_file.h"

// Results of buildGraph.
enum BuildResult : int {
  buildOk = 0,
  buildInputFailed = 2,    // an input file could not be opened or read; the reason was printed
  buildCountOverflow = 3,  // an IPv6 way's count would not fit its field; the way was printed
};

// Reads the entries of `inputs` that are not merged by prefix, in their order, then merges the
// others (mergeDumps), adding what each entry's contents ask for. An entry named "-" is standard
// input. Returns a BuildResult; after a failure the graph keeps what was added before it. With
// a report (one entry per input, same order) it also counts what each reading used and passed
// over.
int buildGraph(const std::vector<InputFile>& inputs, const BuildOptions& options, ASGraph& graph,
               BuildReport* report = nullptr);

#endif  // ZELGRIN_BUILD_BUILD_GRAPH_H
