// The second pass of graph construction: every BGP dump open at once, their routes taken in
// one ascending order of prefix (lower address first, then the longer prefix, then the dump
// given first), each route parsed exactly once. Used by buildGraph.
#ifndef ZELGRIN_BUILD_DUMP_MERGE_H
#define ZELGRIN_BUILD_DUMP_MERGE_H

#include <vector>

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/input_file.h"
#include "parsers/address_order.h"

// Merges the entries of `inputs` read in the merge (readInMerge), in their order, into the IP
// covering of the graph; the other entries count only for the step number announced. Returns
// buildOk, or buildInputFailed after printing why a dump could not be opened or read. With a
// report (one entry per input, same order) each dump is counted in its own entry. A dump that
// rereads the file of a first-pass entry takes what that entry's reading learnt of its address
// order from `addressOrders` (one per input, or none).
int mergeDumps(const std::vector<InputFile>& inputs, const BuildOptions& options, ASGraph& graph,
               BuildReport* report = nullptr, const std::vector<AddressOrder>& addressOrders = {});

#endif  // ZELGRIN_BUILD_DUMP_MERGE_H
