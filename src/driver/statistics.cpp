#include "driver/statistics.h"

#include <cstring>

#include "driver/console.h"

namespace {

int entryCount(const cmdLineParams& params) { return params.numOtherFiles + params.numBGPFiles; }

// "5599 lines read, 5540 used, 59 skipped: 38 reason, 21 reason".
void printReading(std::FILE* out, const InputReport& reading, file_type type) {
  const ReadStats& stats = reading.stats;
  std::fprintf(out, "%llu %s read, %llu used, %llu skipped",
               static_cast<unsigned long long>(reading.linesRead), formatOf(type).readUnit,
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
    printReading(out, report.entry(k), params.fileTypes[k]);
    std::fputc('\n', out);
  }
  for (int k = 0; k < entryCount(params) && k < report.size(); ++k) {
    bool first = report.entry(k).copied;
    // Said once for a name, at its first entry.
    for (int j = 0; j < k && first; ++j) {
      first = std::strcmp(params.fileNames[j], params.fileNames[k]) != 0;
    }
    if (first) std::fprintf(out, "`%s' was copied to a temporary file to be read twice\n",
                            params.fileNames[k]);
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
    // A file read in both passes is unused only when neither reading used anything; when only
    // its second reading gave nothing, it gave no IP covering, which is worth saying too.
    int second = -1;
    for (int j = 0; j < count; ++j) {
      if (params.rereads[j] && std::strcmp(params.fileNames[j], params.fileNames[k]) == 0) second = j;
    }
    const bool firstUsed = report.entry(k).stats.used() != 0;
    const bool secondUsed = second >= 0 && report.entry(second).stats.used() != 0;
    if (firstUsed && (second < 0 || secondUsed)) continue;
    printHeader(out);
    if (!firstUsed && !secondUsed) {
      std::fprintf(out, "Warning: nothing could be used from `%s' (", params.fileNames[k]);
      printReading(out, report.entry(k), params.fileTypes[k]);
    } else if (!secondUsed) {
      std::fprintf(out, "Warning: no IP covering could be taken from `%s' (", params.fileNames[k]);
      printReading(out, report.entry(second), params.fileTypes[second]);
    }
    std::fputs(")\n", out);
  }
}
