#include "export/graph_input.h"

#include <cerrno>
#include <cstring>

#include "asgraph/graph_input.h"

LoadResult loadGraph(const char* name, ASGraph& graph, std::string& message) {
  GraphInput in;
  if (!in.open(name)) {
    message = std::string("Error while opening graph file `") + name + "'\n(" +
              std::strerror(errno) + ")\n";
    return LoadResult::unreadable;
  }
  std::string reason;
  // Graphs of 32-bit AS numbers are read as readily as 16-bit ones.
  if (in.read(graph, reason, ASWidth{true})) return LoadResult::loaded;
  message = std::strcmp(name, "-") == 0
                ? std::string("Input does not appear to be a valid graph:\n")
                : std::string("File `") + name + "' does not appear to be a valid graph file:\n";
  message += reason + "\n";
  return LoadResult::invalid;
}
