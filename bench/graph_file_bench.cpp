// Writing and reading the graph file of a graph of 100,000 nodes and 1,000,000 edges, with
// covering values of every size, to and from a regular file: the bytes per second the driver
// gets when it saves a graph and when --enhance loads one.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "asgraph/as_graph.h"

namespace {

const ASNumber kNodes = 100000;
const int kEdges = 1000000;

// AS numbers 1 to 100000 (beyond 65535 with --as32) joined by random edges, so that every line
// of the file has numbers of every length.
ASGraph& bigGraph() {
  static ASGraph* graph = [] {
    ASGraph* g = new ASGraph();
    for (ASNumber as = 1; as <= kNodes; ++as) g->addNode(as, as);
    std::mt19937_64 rng(2024);
    while (g->edges() < static_cast<std::uint32_t>(kEdges)) {
      const ASNumber a = 1 + static_cast<ASNumber>(rng() % kNodes);
      const ASNumber b = 1 + static_cast<ASNumber>(rng() % kNodes);
      ASEdgeWeight w;
      ASEdgeWeight r;
      w.pathCovering = static_cast<std::uint32_t>(rng() % 100000);
      w.ipCovering = rng() % 20000000;
      w.oriented = rng() % 2 == 0;
      r.pathCovering = static_cast<std::uint32_t>(rng() % 100);
      g->addEdge(a, b, static_cast<EdgeDir>(rng() % 3), w, r);
    }
    char name[] = "bench";
    char* files[100] = {name};
    g->setSourceFiles(files, false);
    return g;
  }();
  return *graph;
}

std::string scratchName() {
  std::string path = "/tmp/zelgrin-bench-graph-XXXXXX";
  int fd = mkstemp(&path[0]);
  if (fd >= 0) close(fd);
  return path;
}

void BM_WriteGraphFile(benchmark::State& state) {
  ASGraph& g = bigGraph();
  const std::string path = scratchName();
  long size = 0;
  for (auto _ : state) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!g.writeToFile(out)) state.SkipWithError(g.errReason());
    size = std::ftell(out);
    std::fclose(out);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_WriteGraphFile)->Unit(benchmark::kMillisecond);

void BM_ReadGraphFile(benchmark::State& state) {
  ASGraph& g = bigGraph();
  const std::string path = scratchName();
  std::FILE* out = std::fopen(path.c_str(), "w");
  g.writeToFile(out);
  const long size = std::ftell(out);
  std::fclose(out);
  for (auto _ : state) {
    ASGraph back;
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (!back.readFromFile(in, ASWidth{true})) state.SkipWithError(back.errReason());
    std::fclose(in);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ReadGraphFile)->Unit(benchmark::kMillisecond);

}  // namespace
