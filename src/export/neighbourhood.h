// The neighbourhood of one AS: every AS within a number of hops of it, edges taken either way.
// zelgrin-export uses it for --around, to cut a graph down to a picture a person can read.
#ifndef ZELGRIN_EXPORT_NEIGHBOURHOOD_H
#define ZELGRIN_EXPORT_NEIGHBOURHOOD_H

#include <vector>

#include "asgraph/as_graph.h"

// Fills `kept` with the ASes at most `depth` hops from `centre` (centre included), ascending.
// False, with `kept` empty, when centre is not a node of the graph.
bool findNeighbourhood(const ASGraph& graph, ASNumber centre, unsigned depth,
                       std::vector<ASNumber>& kept);

#endif  // ZELGRIN_EXPORT_NEIGHBOURHOOD_H
