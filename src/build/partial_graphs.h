// The first pass on several cores. A file whose reading only adds to the graph (nodes, edges,
// and counts on the edges' ways) gives the same graph whatever was read before it, and
// additions commute: so a run of such files may be read by several threads at once, each into
// a graph of its own, and those graphs added together afterwards. Used by buildGraph.
#ifndef ZELGRIN_BUILD_PARTIAL_GRAPHS_H
#define ZELGRIN_BUILD_PARTIAL_GRAPHS_H

#include <cstddef>
#include <vector>

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/edge_lookup.h"
#include "build/input_file.h"

// True for a first-pass entry whose reading only adds: it makes the nodes and the edges it
// names (so it never depends on which exist) and orients none.
bool readingOnlyAdds(const InputFile& input);

// Adds every node and edge of `part` to `graph`, and each way's covering to the same way there.
// Counts wrap as they do when one reading adds to them.
void addPartialGraph(ASGraph& graph, const ASGraph& part);

// Reads inputs[first, last), entries for which readingOnlyAdds holds, with up to
// options.threads threads: the calling thread into `edges` (the build's graph), the others into
// graphs of their own, added to it at the end. What is printed (the steps, from firstStep of
// totalSteps, and their progress bars) and the report's entries are those of reading the files
// one after the other, each file's shown once it and those before it are read: the first file,
// in input order, that cannot be opened or read is reported, and buildInputFailed returned.
// What each reading learnt of its file's address order goes to `addressOrders` (one per input).
// REQUIRES: not options.verbose, whose reports follow the reading line by line.
int readInPartialGraphs(const std::vector<InputFile>& inputs, std::size_t first, std::size_t last,
                        int firstStep, int totalSteps, const BuildOptions& options,
                        EdgeLookup& edges, BuildReport* report,
                        std::vector<AddressOrder>& addressOrders);

#endif  // ZELGRIN_BUILD_PARTIAL_GRAPHS_H
