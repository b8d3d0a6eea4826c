// Feeds arbitrary bytes to graph construction as a path list, a path-saturation file and two
// router table dumps (the input is cut into four parts at 0xFF bytes), builds the graph with
// every content, and writes it out.
#include <cstdio>

#include "build/build_graph.h"
#include "fuzz_input_file.h"

namespace {

// Writes `size` bytes to a fresh scratch file named after `slot`.
const char* writePart(int slot, const uint8_t* bytes, size_t size) {
  static char names[4][40];
  std::snprintf(names[slot], sizeof names[slot], "/tmp/zelgrin_fuzz_build_%d_%d", slot,
                static_cast<int>(getpid()));
  std::FILE* file = std::fopen(names[slot], "wb");
  if (file == nullptr) return nullptr;
  std::fwrite(bytes, 1, size, file);
  std::fclose(file);
  return names[slot];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const ASWidth width = widthFrom(bytes, size);
  char* names[4];
  size_t start = 0;
  for (int part = 0; part < 4; part++) {
    size_t end = start;
    while (end < size && bytes[end] != 0xFF) end++;
    if (looksCompressed(bytes + start, end - start)) return 0;
    const char* name = writePart(part, bytes + start, end - start);
    if (name == nullptr) return 0;
    names[part] = const_cast<char*>(name);
    start = end < size ? end + 1 : size;
  }
  file_type types[4] = {pathFile, satFile, bgpFile, bgpFile};
  int contents[4] = {getNodes | getEdges | getDirections | getPathCovering,
                     getNodes | getEdges | getPathCovering | getIPCovering, getIPCovering,
                     getIPCovering};
  ASNumber vantages[4] = {0, 0, 0, 7};
  ASGraph graph;
  if (buildGraph(2, 2, names, types, contents, false, false, vantages, graph, nullptr, false,
                 width) != 0) {
    return 0;
  }
  std::FILE* sink = std::fopen("/dev/null", "w");
  if (sink == nullptr) return 0;
  graph.writeToFile(sink);
  std::fclose(sink);
  return 0;
}
