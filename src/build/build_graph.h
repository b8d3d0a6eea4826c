// Graph construction: reads every input file once and fills the AS graph. The files that are
// not BGP dumps are read one after the other; the dumps are read last, all together, merged in
// ascending order of prefix so that IP address covering counts each address once per way.
// Used by the driver.
#pragma once

#include "asgraph/as_graph.h"
#include "driver/command_line.h"

// Reads entries 0 .. numOtherFiles-1 (not dumps, in reading order) and then merges the dumps
// numOtherFiles .. numOtherFiles+numBGPFiles-1, adding what each file's contents ask for.
// Returns 0 when every file was read, 2 when one could not be opened or read (after printing
// the reason on standard error); the graph then keeps what was added before the failure.
int buildGraph(short numOtherFiles, short numBGPFiles, char** fileNames, file_type* fileTypes,
               int* fileContents, bool progress, bool verbose, unsigned short* vantagePoints,
               ASGraph& graph);
