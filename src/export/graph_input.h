// Loading the graph to export: the file named on the command line, or standard input for "-",
// plain or compressed, read by the graph file reader of zelgrin itself.
#ifndef ZELGRIN_EXPORT_GRAPH_INPUT_H
#define ZELGRIN_EXPORT_GRAPH_INPUT_H

#include <string>

#include "asgraph/as_graph.h"

enum class LoadResult {
  loaded,
  unreadable,  // the file could not be opened
  invalid,     // the text is not a valid graph file
};

// Reads the named graph into `graph`. On failure `message` holds the lines to print, ending in
// a line feed, as zelgrin words them; a file whose first line is no graph file's type line is
// "not a zelgrin graph file", and text quoted from the file comes escaped for a terminal.
LoadResult loadGraph(const char* name, ASGraph& graph, std::string& message);

#endif  // ZELGRIN_EXPORT_GRAPH_INPUT_H
