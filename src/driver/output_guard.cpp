#include "driver/output_guard.h"

#include "asgraph/as_graph.h"
#include "build/first_block.h"

bool startsAsGraphFile(const std::string& block) {
  for (const char* marker :
       {ASGraph::graphMarker, ASGraph::diffGraphMarker, ASGraph::ipv6GraphMarker}) {
    const std::string type(marker);
    if (block.compare(0, type.size(), type) != 0) continue;
    if (block.size() == type.size()) return true;
    const char next = block[type.size()];
    if (next == '\n' || next == '\r') return true;
  }
  return false;
}

bool bareOutputWouldDestroy(const char* name) {
  std::string block;
  // The marker and a line end are all the check needs.
  if (!readFirstBlock(name, block, 8)) return false;
  return !block.empty() && !startsAsGraphFile(block);
}
