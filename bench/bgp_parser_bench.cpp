// Route lines per second and bytes per second of the dump parser over a generated full table,
// the loop the dump merge of graph construction runs over millions of routes per dump.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "parsers/bgp_parser.h"

namespace {

const int kRoutes = 1200000;

std::string pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// A table in the classic layout: two routes per network (the second with a blank network),
// paths of three to seven ASes, now and then an AS set, a private segment or a wrapped route.
struct Dump {
  std::string path;
  unsigned long long bytes = 0;
  Dump() {
    path = "/tmp/zelgrin-bench-bgp-XXXXXX";
    int fd = mkstemp(&path[0]);
    if (fd < 0) return;
    close(fd);
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::string text =
        "BGP table version is 1, local router ID is 192.0.2.9\n"
        "   Network          Next Hop            Metric LocPrf Weight Path\n";
    for (int i = 0; i < kRoutes; ++i) {
      const int net = i / 2;
      std::string line = i % 2 == 0 ? "*> " : "*  ";
      if (i % 2 == 0 && net % 500 == 0) {
        text += "*> 199.16.104.128/27\n";  // the router wraps it
        line.clear();
      } else if (i % 2 == 0) {
        line += std::to_string(1 + net / 65536 % 223) + "." + std::to_string(net / 256 % 256) +
                "." + std::to_string(net % 256) + ".0/" + std::to_string(16 + net % 9);
      }
      line = pad(line, 20) + "192.0.2." + std::to_string(1 + i % 200);
      const std::string metric = i % 3 == 0 ? "" : std::to_string(i % 4000);
      line = pad(line, 46 - metric.size()) + metric;
      line = pad(line, 50) + (i % 5 == 0 ? "" : "100");
      line = pad(line, 59) + "0 ";
      if (i % 97 == 0) line += "(65001 65002) ";
      const int length = 3 + i % 5;
      for (int k = 0; k < length; ++k) line += std::to_string(1 + (i * 7 + k * 131) % 64000) + " ";
      if (i % 211 == 0) line += "{3356,7018} ";
      line += i % 7 == 0 ? "?\n" : "i\n";
      text += line;
      if (text.size() > (1 << 20)) {
        std::fwrite(text.data(), 1, text.size(), file);
        bytes += text.size();
        text.clear();
      }
    }
    std::fwrite(text.data(), 1, text.size(), file);
    bytes += text.size();
    std::fclose(file);
  }
  ~Dump() { std::remove(path.c_str()); }
};

void BM_BgpParser(benchmark::State& state) {
  static Dump dump;
  long parsed = 0;
  for (auto _ : state) {
    BgpParser parser;
    parser.openFile(dump.path.c_str());
    parsed = 0;
    while (parser.nextLine() == 0) parsed += parser.parseLine() == 0;
    benchmark::DoNotOptimize(parsed);
  }
  if (parsed != kRoutes) state.SkipWithError("not every generated route parsed");
  state.SetItemsProcessed(state.iterations() * kRoutes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * dump.bytes));
}

BENCHMARK(BM_BgpParser)->Unit(benchmark::kMillisecond);

}  // namespace
