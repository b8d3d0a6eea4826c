// The IP covering of a merge made in two halves by address (see table_cuts.h). The lower half
// credits the build's graph; the upper half a graph of the same nodes and edges whose ways count
// from nothing, added to the build's at the end. As no route of one half holds an address of
// the other, each way counts the sum of its two halves. Used by the dump merge.
#ifndef ZELGRIN_BUILD_COVERING_HALVES_H
#define ZELGRIN_BUILD_COVERING_HALVES_H

#include <vector>

#include "asgraph/as_graph.h"

// Makes the empty `copy` a graph of the nodes and edges of `graph` with no covering, its ways
// starting the exact count afresh with `exact`.
void copyForCovering(const ASGraph& graph, ASGraph& copy, bool exact);

// True when some way of `graph` counts addresses, as those of an enhanced graph may.
bool holdsIPCovering(const ASGraph& graph);

// Adds to each way of `graph` the addresses the same way of `upper` counted; a way the upper
// half credited then remembers the upper half's last prefix. `upper` is a copyForCovering of
// `graph`.
void addUpperCovering(ASGraph& graph, const ASGraph& upper, bool exact);

// Puts back the covering of a graph that held none before a merge in halves was given up.
void clearIPCovering(ASGraph& graph, bool exact);

#endif  // ZELGRIN_BUILD_COVERING_HALVES_H
