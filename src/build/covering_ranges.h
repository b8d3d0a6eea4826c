// The IP covering of a merge made in ranges of addresses by two threads (see table_cuts.h). One
// thread credits the build's graph; the other a graph of the same nodes and edges whose ways
// count from nothing, added to the build's at the end. As no route of one range holds an address
// of another, each way counts the sum of its ranges. Used by the dump merge.
#ifndef ZELGRIN_BUILD_COVERING_RANGES_H
#define ZELGRIN_BUILD_COVERING_RANGES_H

#include <vector>

#include "asgraph/as_graph.h"

// Makes the empty `copy` a graph of the nodes and edges of `graph` with no covering, its ways
// starting the exact count afresh with `exact`.
void copyForCovering(const ASGraph& graph, ASGraph& copy, bool exact);

// True when some way of `graph` counts addresses, as those of an enhanced graph may.
bool holdsIPCovering(const ASGraph& graph);

// Adds to each way of `graph` the addresses the same way of `other` counted in other ranges of
// the same merge; a way credited in both then remembers the prefix of the higher range, as one
// merge would. `other` is a copyForCovering of `graph`, which held no covering before.
void addRangesCovering(ASGraph& graph, const ASGraph& other, bool exact);

// Puts back the covering of a graph that held none before a merge in ranges was given up.
void clearIPCovering(ASGraph& graph, bool exact);

#endif  // ZELGRIN_BUILD_COVERING_RANGES_H
