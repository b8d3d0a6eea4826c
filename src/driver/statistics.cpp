#include "driver/statistics.h"

#include <cstring>

#include "driver/console.h"

namespace {

int entryCount(const cmdLineParams& params) { return params.numOtherFiles + params.numBGPFiles; }

// "5599 lines read, 5540 used, 59 skipped: 38 reason, 21 reason".
void printReading(std::FILE* out, const InputReport& reading) {
  const ReadStats& stats = reading.stats;
  std::fprintf(out, "%llu lines read, %llu used, %llu skipped",
               static_cast<unsigned long long>(reading.linesRead),
               static_cast<unsigned long long>(stats.used()),
               static_cast<unsigned long long>(stats.skipped()));
  for (int i = 0; i < stats.reasonCount(); ++i) {
    std::fprintf(out, "%s%llu %s", i == 0 ? ": " : ", ",
                 static_cast<unsigned long long>(stats.count(i)), stats.reason(i));
  }
}

}  // namespace

void printStatistics(std::FILE* out, const cmdLineParams& params, const BuildReport& report,
                     ASGraph& graph) {
  printHeader(out);
  for (int k = 0; k < entryCount(params) && k < report.size(); ++k) {
    std::fprintf(out, "`%s'%s: ", params.fileNames[k], params.rereads[k] ? " (IP covering)" : "");
    printReading(out, report.entry(k));
    std::fputc('\n', out);
  }
  unsigned long long oriented = 0, pathCovered = 0, ipCovered = 0;
  graph.forEachEdge([&](const ASGraph::edge& copy) {
    if (copy.weight().oriented) ++oriented;
    if (copy.weight().pathCovering != 0 || copy.reverseWeight().pathCovering != 0) ++pathCovered;
    if (copy.weight().ipCovering != 0 || copy.reverseWeight().ipCovering != 0) ++ipCovered;
  });
  std::fprintf(out,
               "Graph: %u nodes, %u edges, %llu oriented, %llu with path covering, %llu with IP "
               "covering\n",
               graph.nodes(), graph.edges(), oriented, pathCovered, ipCovered);
}

void warnUnusedInputs(std::FILE* out, const cmdLineParams& params, const BuildReport& report) {
  const int count = entryCount(params) < report.size() ? entryCount(params) : report.size();
  for (int k = 0; k < count; ++k) {
    if (params.rereads[k] || !formatOf(params.fileTypes[k]).warnWhenUnused) continue;
    // A file read in both passes is unused only when neither reading used anything.
    std::uint64_t used = report.entry(k).stats.used();
    for (int j = 0; j < count; ++j) {
      if (params.rereads[j] && std::strcmp(params.fileNames[j], params.fileNames[k]) == 0) {
        used += report.entry(j).stats.used();
      }
    }
    if (used != 0) continue;
    printHeader(out);
    std::fprintf(out, "Warning: nothing could be used from `%s' (", params.fileNames[k]);
    printReading(out, report.entry(k));
    std::fputs(")\n", out);
  }
}
