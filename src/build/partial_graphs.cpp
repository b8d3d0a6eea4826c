#include "build/partial_graphs.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>

#include "build/build_graph.h"
#include "build/first_pass_file.h"
#include "io/helper_thread.h"

bool readingOnlyAdds(const InputFile& input) {
  const int needed = getNodes | getEdges;
  return !readInMerge(input) && (input.contents & needed) == needed &&
         (input.contents & getDirections) == 0;
}

namespace {

void addWay(ASEdgeWeight& way, const ASEdgeWeight& part) {
  way.pathCovering += part.pathCovering;
  way.ipCovering += part.ipCovering;
}

// One file's reading by whichever thread took it, kept until the files before it are done.
struct Outcome {
  FileReading reading;
  BuildReport report{1};
  std::atomic<bool> done{false};  // set by the thread that read it, once it holds the reading
};

// The files still to take, shared by the threads. Files after one that failed are not started:
// the build ends at the failure.
class FileQueue {
 public:
  FileQueue(std::size_t first, std::size_t last) : next_(first), end_(last), failedAt_(last) {}

  // The next file to read, or false when there is none.
  bool take(std::size_t& file) {
    file = next_.fetch_add(1);
    return file < end_ && file < failedAt_.load();
  }

  void noteFailure(std::size_t file) {
    std::size_t seen = failedAt_.load();
    while (file < seen && !failedAt_.compare_exchange_weak(seen, file)) {
    }
  }

 private:
  std::atomic<std::size_t> next_;
  const std::size_t end_;
  std::atomic<std::size_t> failedAt_;
};

// One thread's part: files from the queue into `edges` until none is left, calling afterFile()
// after each.
template <class AfterFile>
void readFromQueue(const std::vector<InputFile>& inputs, std::size_t first, FileQueue& queue,
                   const BuildOptions& options, EdgeLookup& edges, bool counting,
                   std::vector<Outcome>& outcomes, AfterFile afterFile) {
  std::size_t k = 0;
  while (queue.take(k)) {
    Outcome& outcome = outcomes[k - first];
    // The file's own threads would only contend with the other files' readers.
    outcome.reading = readFirstPassFile(inputs[k], 0, ReadingStep{}, options, 1, true, edges,
                                        counting ? &outcome.report : nullptr);
    if (outcome.reading.result != buildOk) queue.noteFailure(k);
    outcome.done.store(true, std::memory_order_release);
    afterFile();
  }
}

}  // namespace

void addPartialGraph(ASGraph& graph, const ASGraph& part) {
  part.forEachNode(
      [&graph](const ASNumber& value, const ASNumber& key) { graph.addNode(value, key); });
  part.forEachEdge([&graph](const ASGraph::edge& e) {
    const ASGraph::edge into = graph.ensureEdge(e.from().key, e.to().key);
    addWay(into.weight(), e.weight());
    addWay(into.reverseWeight(), e.reverseWeight());
  });
}

int readInPartialGraphs(const std::vector<InputFile>& inputs, std::size_t first, std::size_t last,
                        int firstStep, int totalSteps, const BuildOptions& options,
                        EdgeLookup& edges, BuildReport* report,
                        std::vector<AddressOrder>& addressOrders) {
  const std::size_t helpers =
      std::min(static_cast<std::size_t>(std::max(options.threads, 1)), last - first) - 1;
  std::vector<Outcome> outcomes(last - first);
  std::vector<std::unique_ptr<ASGraph>> parts;
  std::vector<std::unique_ptr<EdgeLookup>> partEdges;
  for (std::size_t h = 0; h < helpers; ++h) {
    parts.push_back(std::make_unique<ASGraph>());
    partEdges.push_back(std::make_unique<EdgeLookup>(*parts.back(), options.noSelfLoops));
  }
  FileQueue queue(first, last);
  const bool counting = report != nullptr;
  // A helper the system refuses leaves its files to the others and to this thread; its partial
  // graph stays empty.
  std::vector<std::thread> threads;
  for (std::size_t h = 0; h < helpers; ++h) {
    std::thread thread = helper_thread::start([&, h] {
      readFromQueue(inputs, first, queue, options, *partEdges[h], counting, outcomes, [] {});
    });
    if (thread.joinable()) threads.push_back(std::move(thread));
  }
  // This thread shows the readings in input order, as soon as each and those before it are
  // done; the first that failed ends the run.
  std::size_t shown = first;
  int result = buildOk;
  auto showDone = [&] {
    for (; shown < last && result == buildOk; ++shown) {
      const Outcome& outcome = outcomes[shown - first];
      if (!outcome.done.load(std::memory_order_acquire)) return;
      if (counting) report->addReading(static_cast<int>(shown), outcome.report.entry(0));
      const ReadingStep step{firstStep + static_cast<int>(shown - first), totalSteps};
      showReading(inputs[shown], step, options, outcome.reading);
      addressOrders[shown] = outcome.reading.addressOrder;
      result = outcome.reading.result;
    }
  };
  readFromQueue(inputs, first, queue, options, edges, counting, outcomes, showDone);
  for (std::thread& thread : threads) thread.join();
  showDone();
  if (result != buildOk) return result;
  partEdges.clear();
  for (std::unique_ptr<ASGraph>& part : parts) {
    addPartialGraph(edges.graph(), *part);
    part.reset();
  }
  return buildOk;
}
