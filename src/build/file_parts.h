// One large path list read by several threads at once. A plain file is cut into parts at line
// starts; each thread reads one part into a graph of its own (the calling thread into the
// build's), and the graphs are added together, as the readings of several files are (see
// partial_graphs.h). A path list read for nodes and edges only adds, so the graph and the
// counts are those of one reading. Used by buildGraph.
#ifndef ZELGRIN_BUILD_FILE_PARTS_H
#define ZELGRIN_BUILD_FILE_PARTS_H

#include "build/build_report.h"
#include "build/edge_lookup.h"
#include "build/first_pass_file.h"
#include "build/input_file.h"

// True when the file at `path` starts as no compressed format does.
bool isPlainFile(const char* path);

// The parts `input` is read in: more than one for a plain regular path list of at least two
// parts' worth whose reading only adds (readingOnlyAdds), in a run of more than one thread
// that neither reports lines (-v) nor draws progress; else 1.
int partsOf(const InputFile& input, const BuildOptions& options);

// Reads `input` in `parts` parts into `edges`, counting into entry `entry` of `report` (may be
// null): what readFirstPassFile does, but for the progress it never draws. The failure of the
// first part that failed is the reading's.
FileReading readInParts(const InputFile& input, int entry, int parts, const BuildOptions& options,
                        EdgeLookup& edges, BuildReport* report);

#endif  // ZELGRIN_BUILD_FILE_PARTS_H
