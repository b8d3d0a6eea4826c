// A graph file read from its name, or from standard input for "-", whether it is plain or
// compressed: the input streams decode it, and the graph file reader reads its lines. Used by
// zelgrin for --enhance and by zelgrin-export.
#ifndef ZELGRIN_ASGRAPH_GRAPH_INPUT_H
#define ZELGRIN_ASGRAPH_GRAPH_INPUT_H

#include <string>

#include "asgraph/as_graph.h"
#include "io/input_stream.h"
#include "io/line_reader.h"

class GraphInput {
 public:
  GraphInput() = default;
  GraphInput(const GraphInput&) = delete;
  GraphInput& operator=(const GraphInput&) = delete;

  // Opens the named file, or standard input for "-". False with errno set when the file cannot
  // be opened; nothing is read yet.
  bool open(const char* name);
  // Reads the whole graph file, AS numbers up to width.largest(), into `graph` when `accepted`
  // takes its type (readGraphFile). False with the reason: the graph file reader's message, for
  // a compressed file that cannot be decoded the decoder's reason, or for a line longer than
  // LineReader::kMaxLineLength the line reader's.
  bool read(ASGraph& graph, std::string& reason, ASWidth width,
            AcceptedGraphs accepted = AcceptedGraphs::ipv4);

 private:
  InputStream stream_;
  LineReader reader_{stream_};
};

#endif  // ZELGRIN_ASGRAPH_GRAPH_INPUT_H
