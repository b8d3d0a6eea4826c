#include "driver/statistics.h"

#include "console/console.h"

namespace {

// The readings both the list and the report hold.
int entryCount(const std::vector<InputFile>& inputs, const BuildReport& report) {
  const int listed = static_cast<int>(inputs.size());
  return listed < report.size() ? listed : report.size();
}

// "5599 lines read, 5540 used, 59 skipped: 38 reason, 21 reason"; for a reading of directions
// or IP covering, "5773 used (2502 applied to an edge, 3271 name no edge of the graph)" when
// it used any.
void printReading(std::FILE* out, const InputReport& reading, const InputFile& input) {
  const ReadStats& stats = reading.stats;
  std::fprintf(out, "%llu %s read, %llu used", static_cast<unsigned long long>(reading.linesRead),
               formatOf(input.type).readUnit, static_cast<unsigned long long>(stats.used()));
  if (reportsApplied(input) && stats.used() != 0) {
    std::fprintf(out, " (%llu applied to an edge, %llu name no edge of the graph)",
                 static_cast<unsigned long long>(reading.applied),
                 static_cast<unsigned long long>(stats.used() - reading.applied));
  }
  std::fprintf(out, ", %llu skipped", static_cast<unsigned long long>(stats.skipped()));
  for (int i = 0; i < stats.reasonCount(); ++i) {
    std::fprintf(out, "%s%llu %s", i == 0 ? ": " : ", ",
                 static_cast<unsigned long long>(stats.count(i)), stats.reason(i));
  }
}

}  // namespace

void printStatistics(std::FILE* out, const std::vector<InputFile>& inputs,
                     const BuildReport& report, ASGraph& graph) {
  printHeader(out);
  for (int k = 0; k < entryCount(inputs, report); ++k) {
    const InputFile& input = inputs[static_cast<std::size_t>(k)];
    std::fprintf(out, "`%s'%s: ", input.name.c_str(), input.rereads ? " (IP covering)" : "");
    printReading(out, report.entry(k), input);
    std::fputc('\n', out);
  }
  for (int k = 0; k < entryCount(inputs, report); ++k) {
    const std::string& name = inputs[static_cast<std::size_t>(k)].name;
    bool first = report.entry(k).copied;
    // Said once for a name, at its first entry.
    for (int j = 0; j < k && first; ++j) first = inputs[static_cast<std::size_t>(j)].name != name;
    if (first) {
      std::fprintf(out, "`%s' was copied to a temporary file to be read twice\n", name.c_str());
    }
  }
  printGraphTotals(out, graph);
}

void warnUnusedInputs(std::FILE* out, const std::vector<InputFile>& inputs,
                      const BuildReport& report, const std::vector<bool>* warnedElsewhere) {
  const int count = entryCount(inputs, report);
  for (int k = 0; k < count; ++k) {
    const InputFile& input = inputs[static_cast<std::size_t>(k)];
    if (input.rereads) continue;
    if (warnedElsewhere != nullptr && (*warnedElsewhere)[static_cast<std::size_t>(k)]) continue;
    // An empty file gives an empty graph: most likely not what was meant, so it is said.
    if (report.entry(k).linesRead == 0 && !formatOf(input.type).warnWhenUnused) {
      printHeader(out);
      std::fprintf(out, "Warning: `%s' is empty: nothing was read from it\n", input.name.c_str());
      continue;
    }
    // A file read in both passes is unused only when neither reading used anything; when only
    // its second reading gave nothing, it gave no IP covering, which is worth saying too.
    int second = -1;
    for (int j = 0; j < count; ++j) {
      const InputFile& other = inputs[static_cast<std::size_t>(j)];
      if (other.rereads && other.name == input.name) second = j;
    }
    const bool firstUsed = report.entry(k).stats.used() != 0;
    const bool secondUsed = second >= 0 && report.entry(second).stats.used() != 0;
    if (firstUsed && (second < 0 || secondUsed)) continue;
    printHeader(out);
    if (!firstUsed && !secondUsed) {
      std::fprintf(out, "Warning: nothing could be used from `%s' (", input.name.c_str());
      printReading(out, report.entry(k), input);
    } else if (!secondUsed) {
      std::fprintf(out, "Warning: no IP covering could be taken from `%s' (", input.name.c_str());
      printReading(out, report.entry(second), inputs[static_cast<std::size_t>(second)]);
    }
    std::fputs(")\n", out);
  }
}

GraphTotals graphTotals(ASGraph& graph) {
  GraphTotals totals;
  totals.nodes = graph.nodes();
  totals.edges = graph.edges();
  graph.forEachEdge([&](const ASGraph::edge& copy) {
    if (copy.weight().oriented) ++totals.oriented;
    if (copy.weight().pathCovering != 0 || copy.reverseWeight().pathCovering != 0) {
      ++totals.pathCovered;
    }
    if (copy.weight().ipCovering != 0 || copy.reverseWeight().ipCovering != 0) {
      ++totals.ipCovered;
    }
  });
  return totals;
}

void printGraphTotals(std::FILE* out, ASGraph& graph) {
  const GraphTotals totals = graphTotals(graph);
  const bool ipv6 = graph.family() == AddressFamily::ipv6;
  std::fprintf(out,
               "%s: %llu nodes, %llu edges, %llu oriented, %llu with path covering, %llu with "
               "IP covering%s\n",
               ipv6 ? "IPv6 graph" : "Graph", totals.nodes, totals.edges, totals.oriented,
               totals.pathCovered, totals.ipCovered, ipv6 ? " (units of /64)" : "");
}
