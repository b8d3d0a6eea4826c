#include "asgraph/graph_input.h"

#include <cstring>

#include "asgraph/graph_file.h"

bool GraphInput::open(const char* name) {
  if (std::strcmp(name, "-") != 0) return stream_.open(name);
  stream_.openStdin();
  return true;
}

bool GraphInput::read(ASGraph& graph, std::string& reason, ASWidth width, AcceptedGraphs accepted) {
  ReaderLineSource<LineReader> lines(reader_);
  if (readGraphFile(lines, graph, reason, width, accepted)) return true;
  // The graph file's own message would only say that lines were missing.
  if (reader_.failed() && (stream_.codec() != Codec::plain || reader_.lineTooLong()))
    reason = reader_.errorText();
  return false;
}
