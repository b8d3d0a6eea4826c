#include "export/graph_input.h"

#include <cerrno>
#include <cstring>

#include "asgraph/graph_input.h"
#include "export/text_escape.h"

namespace {

// The graph file reader's reasons for a first line that is missing or is no type line: such a
// file is no graph at all (a path list, an MRT file, an empty file), not a damaged one.
bool refusedTypeLine(const std::string& reason) {
  static const char* const kReasons[] = {"Invalid file type string",
                                         "Could not retrieve file type"};
  for (const char* start : kReasons) {
    if (reason.compare(0, std::strlen(start), start) == 0) return true;
  }
  return false;
}

}  // namespace

LoadResult loadGraph(const char* name, ASGraph& graph, std::string& message) {
  GraphInput in;
  if (!in.open(name)) {
    message = std::string("Error while opening graph file `") + name + "'\n(" +
              std::strerror(errno) + ")\n";
    return LoadResult::unreadable;
  }
  std::string reason;
  // Graphs of 32-bit AS numbers are read as readily as 16-bit ones, and graphs of either
  // family: the writers name the unit of an IPv6 graph's covering.
  if (in.read(graph, reason, ASWidth{true}, AcceptedGraphs::any)) return LoadResult::loaded;
  const bool fromStdin = std::strcmp(name, "-") == 0;
  if (refusedTypeLine(reason)) {
    message = fromStdin ? std::string("Error: standard input is not a zelgrin graph file\n")
                        : std::string("Error: `") + name + "' is not a zelgrin graph file\n";
    return LoadResult::invalid;
  }
  message = fromStdin
                ? std::string("Input does not appear to be a valid graph:\n")
                : std::string("File `") + name + "' does not appear to be a valid graph file:\n";
  // The reason quotes the graph file's own text, which must not reach a terminal raw.
  message += escapedForTerminal(reason) + "\n";
  return LoadResult::invalid;
}
