// The second pass of graph construction: every BGP dump open at once, their routes taken in
// one ascending order of prefix (lower address first, then the longer prefix, then the dump
// given first), each route parsed exactly once. Used by buildGraph.
#pragma once

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/input_formats.h"

// Merges the dumps named in fileNames[0 .. count-1], of the formats fileTypes[0 .. count-1],
// into the IP covering of the graph. Returns buildOk, or buildInputFailed after printing why a
// dump could not be opened or read. With a report, dump k is counted in its entry
// firstReportEntry + k. With exactCovering each address counts once per way whatever the
// nesting of the prefixes. AS numbers up to width.largest().
int mergeDumps(short count, char** fileNames, file_type* fileTypes, ASNumber* vantagePoints,
               short stepNumber, bool progress, bool verbose, ASGraph& graph,
               BuildReport* report = nullptr, int firstReportEntry = 0,
               bool exactCovering = false, ASWidth width = ASWidth{});
