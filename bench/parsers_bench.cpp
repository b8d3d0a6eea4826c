// Lines per second of the path-list and path-saturation parsers over a generated file, the loop
// that graph construction runs over tens of millions of lines.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "parsers/path_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/vantage_parser.h"

namespace {

const int kLines = 100000;

std::string writeInput(const char* tag, std::string (*lineFor)(int)) {
  std::string path = std::string("/tmp/zelgrin-bench-") + tag + "-XXXXXX";
  int fd = mkstemp(&path[0]);
  if (fd < 0) return path;
  close(fd);
  std::FILE* file = std::fopen(path.c_str(), "w");
  for (int i = 0; i < kLines; ++i) std::fputs(lineFor(i).c_str(), file);
  std::fclose(file);
  return path;
}

std::string pathLine(int i) {
  return std::to_string(7018 + i % 50) + " 701 " + std::to_string(1239 + i % 977) + " 3356 " +
         std::to_string(1 + i % 64000) + "\n";
}

std::string satLine(int i) {
  return std::to_string(1 + i % 64000) + " - " + std::to_string(701 + i % 300) + " x y z " +
         std::to_string(i % 2) + " 12.5 x 0.75\n";
}

std::string vantageLine(int i) {
  return std::to_string(1 + i % 64000) + " " + std::to_string(701 + i % 300) + " " +
         std::to_string(i % 2) + "\n";
}

template <class P>
void runParser(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    P parser;
    parser.openFile(path.c_str());
    long ok = 0;
    while (parser.nextLine() == 0) ok += parser.parseLine() == 0;
    benchmark::DoNotOptimize(ok);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  std::remove(path.c_str());
}

void BM_PathParser(benchmark::State& state) {
  runParser<PathParser>(state, writeInput("path", pathLine));
}
void BM_SatParser(benchmark::State& state) {
  runParser<SatParser>(state, writeInput("sat", satLine));
}
void BM_VantageParser(benchmark::State& state) {
  runParser<VantageParser>(state, writeInput("vantage", vantageLine));
}

BENCHMARK(BM_PathParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SatParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VantageParser)->Unit(benchmark::kMillisecond);

}  // namespace
