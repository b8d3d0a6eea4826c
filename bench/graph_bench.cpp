// The graph operations graph construction repeats for every AS pair of every input line: adding
// an edge (mostly one that exists already), and reaching an edge through edgeProperties, the
// allocation-free storedEdge or ensureEdge; and the ordered walk the graph file writer makes. The
// graph has tens of thousands of nodes, like a real AS graph.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "containers/graph.h"

namespace {

// Stands in for the per-way edge statistics: a plain record of the same size.
struct Weight {
  std::uint64_t ipCovering = 0;
  std::uint32_t pathCovering = 0;
  std::uint32_t lastPrefix[2] = {0, 0};
};

using BenchGraph = Graph<unsigned short, Weight, unsigned short>;

const int kNodes = 50000;
const int kEdges = 150000;

// AS-number-like keys in random order, and endpoint pairs that favour low indices the way real
// AS graphs favour a few large providers.
struct Workload {
  unsigned short keys[kNodes];
  unsigned short from[kEdges];
  unsigned short to[kEdges];
  Workload() {
    std::mt19937 rng(2024);
    for (int i = 0; i < kNodes; ++i) keys[i] = static_cast<unsigned short>(i + 1);
    for (int i = kNodes - 1; i > 0; --i) {
      int j = static_cast<int>(rng() % static_cast<unsigned>(i + 1));
      unsigned short t = keys[i];
      keys[i] = keys[j];
      keys[j] = t;
    }
    std::uniform_int_distribution<int> any(0, kNodes - 1);
    std::uniform_int_distribution<int> hub(0, 99);
    for (int i = 0; i < kEdges; ++i) {
      from[i] = keys[any(rng)];
      to[i] = keys[rng() % 4 == 0 ? any(rng) : hub(rng)];
    }
  }
};

const Workload& workload() {
  static Workload* w = new Workload();
  return *w;
}

void fill(BenchGraph& g) {
  const Workload& w = workload();
  for (int i = 0; i < kNodes; ++i) g.addNode(w.keys[i], w.keys[i]);
  Weight a, b;
  for (int i = 0; i < kEdges; ++i) g.addEdge(w.from[i], w.to[i], forward, a, b);
}

// Building the whole edge set from scratch: mostly new edges (result 3).
void BM_AddEdgeNew(benchmark::State& state) {
  const Workload& w = workload();
  Weight a, b;
  for (auto _ : state) {
    state.PauseTiming();
    BenchGraph* g = new BenchGraph();
    for (int i = 0; i < kNodes; ++i) g->addNode(w.keys[i], w.keys[i]);
    state.ResumeTiming();
    for (int i = 0; i < kEdges; ++i) g->addEdge(w.from[i], w.to[i], forward, a, b);
    state.PauseTiming();
    delete g;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kEdges);
}
BENCHMARK(BM_AddEdgeNew)->Unit(benchmark::kMillisecond);

// Adding edges that exist: the common case once a few paths have been read (results 1 and 2).
void BM_AddEdgeExisting(benchmark::State& state) {
  const Workload& w = workload();
  BenchGraph g;
  fill(g);
  Weight a, b;
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(g.addEdge(w.from[i], w.to[i], (i & 1) ? forward : backward, a, b));
    if (++i == kEdges) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddEdgeExisting);

// The documented way to reach an edge: a new record of three allocations, deleted by the caller.
void BM_EdgeProperties(benchmark::State& state) {
  const Workload& w = workload();
  BenchGraph g;
  fill(g);
  int i = 0;
  for (auto _ : state) {
    BenchGraph::GraphEdge* e = g.edgeProperties(w.from[i], w.to[i]);
    e->weight->pathCovering += 1;
    delete e->from;
    delete e->to;
    delete e;
    if (++i == kEdges) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EdgeProperties);

// The same update through the allocation-free accessor.
void BM_StoredEdge(benchmark::State& state) {
  const Workload& w = workload();
  BenchGraph g;
  fill(g);
  int i = 0;
  for (auto _ : state) {
    BenchGraph::edge e = g.storedEdge(w.from[i], w.to[i]);
    e.weight().pathCovering += 1;
    if (++i == kEdges) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StoredEdge);

// Finding or making the edge of a path pair, as graph construction does for every pair it reads.
void BM_EnsureEdge(benchmark::State& state) {
  const Workload& w = workload();
  BenchGraph g;
  fill(g);
  int i = 0;
  for (auto _ : state) {
    BenchGraph::edge e = g.ensureEdge(w.to[i], w.from[i]);
    e.reverseWeight().pathCovering += 1;
    if (++i == kEdges) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EnsureEdge);

// The ordered walk over every edge that the graph file writer makes.
void BM_ForEachEdge(benchmark::State& state) {
  BenchGraph g;
  fill(g);
  for (auto _ : state) {
    std::uint64_t sum = 0;
    g.forEachEdge([&sum](const BenchGraph::edge& e) { sum += e.weight().pathCovering; });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * g.edges());
}
BENCHMARK(BM_ForEachEdge)->Unit(benchmark::kMillisecond);

// Listing every edge once, as the graph file writer does.
void BM_ListEdges(benchmark::State& state) {
  BenchGraph g;
  fill(g);
  for (auto _ : state) {
    List<BenchGraph::GraphEdge*>& l = g.listEdges();
    while (!l.isEmpty()) {
      BenchGraph::GraphEdge* e = l.pop();
      delete e->from;
      delete e->to;
      delete e;
    }
  }
  state.SetItemsProcessed(state.iterations() * g.edges());
}
BENCHMARK(BM_ListEdges)->Unit(benchmark::kMillisecond);

}  // namespace
