// Loading the graph to export: the file named on the command line, or standard input for "-",
// read by the graph file reader of zelgrin itself.
#ifndef ZELGRIN_EXPORT_GRAPH_INPUT_H
#define ZELGRIN_EXPORT_GRAPH_INPUT_H

#include <memory>
#include <string>

#include "asgraph/as_graph.h"
#include "asgraph/graph_file.h"

// The lines of the named graph file, or of standard input for "-". Null, with the system's
// reason, when the file cannot be opened. The only place that decides how the bytes of the
// input become lines.
std::unique_ptr<GraphLineSource> openGraphInput(const char* name, std::string& reason);

enum class LoadResult {
  loaded,
  unreadable,  // the file could not be opened
  invalid,     // the text is not a valid graph file
};

// Reads the named graph into `graph`. On failure `message` holds the lines to print, ending in
// a line feed, as zelgrin words them.
LoadResult loadGraph(const char* name, ASGraph& graph, std::string& message);

#endif  // ZELGRIN_EXPORT_GRAPH_INPUT_H
