#include "build/build_graph.h"

#include <vector>

#include "build/dump_merge.h"
#include "build/file_parts.h"
#include "build/first_pass_file.h"
#include "build/input_copies.h"
#include "build/partial_graphs.h"

int buildGraph(const std::vector<InputFile>& given, const BuildOptions& options, ASGraph& graph,
               BuildReport* report) {
  // A pipe read twice is read from a copy; the copies go when the build ends.
  std::vector<InputFile> inputs = given;
  InputCopies copies;
  if (!copies.make(inputs, report)) return buildInputFailed;
  int firstPass = 0;
  bool anyMerged = false;
  for (const InputFile& input : inputs) {
    if (readInMerge(input)) {
      anyMerged = true;
    } else {
      ++firstPass;
    }
  }
  const int totalSteps = firstPass + (anyMerged ? 1 : 0);
  EdgeLookup edges(graph, options.noSelfLoops);
  // What the first pass learns of the order of routes in the files the merge reads again.
  std::vector<AddressOrder> addressOrders(inputs.size());
  // Without reports that follow the reading line by line, files that only add to the graph
  // are read several at once.
  const bool partial = options.threads > 1 && !options.verbose;
  int step = 0;
  for (std::size_t k = 0; k < inputs.size(); ++k) {
    if (readInMerge(inputs[k])) continue;
    std::size_t end = k;
    while (partial && end < inputs.size() && readingOnlyAdds(inputs[end])) ++end;
    if (end - k > 1) {
      const int result = readInPartialGraphs(inputs, k, end, step + 1, totalSteps, options, edges,
                                             report, addressOrders);
      if (result != buildOk) return result;
      step += static_cast<int>(end - k);
      k = end - 1;
      continue;
    }
    ++step;
    const int parts = partsOf(inputs[k], options);
    const FileReading reading =
        parts > 1 ? readInParts(inputs[k], static_cast<int>(k), parts, options, edges, report)
                  : readFirstPassFile(inputs[k], static_cast<int>(k), ReadingStep{step, totalSteps},
                                      options, options.threads, false, edges, report);
    if (reading.result != buildOk) {
      reportReadingFailure(inputs[k], reading);
      return reading.result;
    }
    addressOrders[k] = reading.addressOrder;
  }
  if (!anyMerged) return buildOk;
  return mergeDumps(inputs, options, graph, report, addressOrders);
}
