// Feeds arbitrary bytes to graph construction as a path list, a path-saturation file and two
// router table dumps (the input is cut into four parts at 0xFF bytes), builds the graph with
// every content, and writes it out; once with one thread and once with four, whose graphs must
// be the same bytes. An input whose first byte is '6' builds the IPv6 graph instead, of a path
// list and three parts of pipe route text (one for paths, two merged for the covering).
#include <cstdio>
#include <cstdlib>
#include <string>
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

// The graph built from `inputs` with `threads` threads, as its file's bytes, after the counts of
// each reading; empty when the build fails.
std::string buildWith(const std::vector<InputFile>& inputs, ASWidth width, int threads,
                      AddressFamily family) {
  ASGraph graph;
  graph.setFamily(family);
  BuildOptions options;
  options.width = width;
  options.threads = threads;
  // A path list of a few bytes is read in parts too, and router tables of a few bytes are
  // merged in ranges.
  options.minPartBytes = 8;
  options.family = family;
  BuildReport report(static_cast<int>(inputs.size()));
  if (buildGraph(inputs, options, graph, &report) != 0) return std::string();
  std::string counts;
  for (int k = 0; k < report.size(); ++k) {
    const InputReport& reading = report.entry(k);
    counts += std::to_string(reading.linesRead) + ' ' + std::to_string(reading.applied);
    for (int i = 0; i < reading.stats.reasonCount(); ++i) {
      counts +=
          std::string(" ") + reading.stats.reason(i) + '=' + std::to_string(reading.stats.count(i));
    }
    counts += '\n';
  }
  char* text = nullptr;
  size_t length = 0;
  std::FILE* sink = open_memstream(&text, &length);
  if (sink == nullptr) std::abort();
  graph.writeToFile(sink);
  std::fclose(sink);
  std::string bytes = counts + std::string(text, length);
  std::free(text);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static const InputFile kinds[4] = {
      {"", pathFile, getNodes | getEdges | getDirections | getPathCovering, 0, false, ""},
      {"", satFile, getNodes | getEdges | getPathCovering | getIPCovering, 0, false, ""},
      {"", bgpFile, getIPCovering, 0, false, ""},
      {"", bgpFile, getIPCovering, 7, false, ""},
  };
  static const InputFile ipv6Kinds[4] = {
      {"", pathFile, getNodes | getEdges | getDirections | getPathCovering, 0, false, ""},
      {"", pipeFile, getNodes | getEdges | getPathCovering, 0, false, ""},
      {"", pipeFile, getIPCovering, 0, false, ""},
      {"", pipeFile, getIPCovering, 0, false, ""},
  };
  const AddressFamily family =
      size > 0 && bytes[0] == '6' ? AddressFamily::ipv6 : AddressFamily::ipv4;
  std::vector<InputFile> inputs;
  size_t start = 0;
  for (int part = 0; part < 4; part++) {
    size_t end = start;
    while (end < size && bytes[end] != 0xFF) end++;
    if (looksCompressed(bytes + start, end - start)) return 0;
    const char* name = writePart(part, bytes + start, end - start);
    if (name == nullptr) return 0;
    inputs.push_back(family == AddressFamily::ipv6 ? ipv6Kinds[part] : kinds[part]);
    inputs.back().name = name;
    // Without directions the path list only adds, and is read beside the next file.
    if (part == 0 && size % 2 == 1) inputs.back().contents &= ~getDirections;
    start = end < size ? end + 1 : size;
  }
  const ASWidth width = widthFrom(bytes, size);
  // Reading ahead, beside or in parts in other threads must not change a byte of the graph or a
  // count.
  if (buildWith(inputs, width, 1, family) != buildWith(inputs, width, 4, family)) std::abort();
  return 0;
}
