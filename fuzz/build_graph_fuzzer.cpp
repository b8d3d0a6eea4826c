// Feeds arbitrary bytes to graph construction as a path list, a path-saturation file and two
// router table dumps (the input is cut into four parts at 0xFF bytes), builds the graph with
// every content, and writes it out.
#include <cstdio>
#include <vector>

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
  static const InputFile kinds[4] = {
      {"", pathFile, getNodes | getEdges | getDirections | getPathCovering, 0, false, ""},
      {"", satFile, getNodes | getEdges | getPathCovering | getIPCovering, 0, false, ""},
      {"", bgpFile, getIPCovering, 0, false, ""},
      {"", bgpFile, getIPCovering, 7, false, ""},
  };
  std::vector<InputFile> inputs;
  size_t start = 0;
  for (int part = 0; part < 4; part++) {
    size_t end = start;
    while (end < size && bytes[end] != 0xFF) end++;
    if (looksCompressed(bytes + start, end - start)) return 0;
    const char* name = writePart(part, bytes + start, end - start);
    if (name == nullptr) return 0;
    inputs.push_back(kinds[part]);
    inputs.back().name = name;
    start = end < size ? end + 1 : size;
  }
  ASGraph graph;
  BuildOptions options;
  options.width = widthFrom(bytes, size);
  if (buildGraph(inputs, options, graph) != 0) return 0;
  std::FILE* sink = std::fopen("/dev/null", "w");
  if (sink == nullptr) return 0;
  graph.writeToFile(sink);
  std::fclose(sink);
  return 0;
}
