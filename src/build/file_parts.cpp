#include "build/file_parts.h"

#include <sys/stat.h>

#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "build/build_graph.h"
#include "build/open_input.h"
#include "build/partial_graphs.h"
#include "io/helper_thread.h"
#include "io/input_stream.h"

namespace {

// One part's reading, into a graph and a report of its own unless it is the first.
struct PartReading {
  FilePart part;
  std::unique_ptr<ASGraph> graph;
  std::unique_ptr<EdgeLookup> edges;
  BuildReport report{1};
  FileReading reading;
};

}  // namespace

bool isPlainFile(const char* path) {
  InputStream stream;
  unsigned char first = 0;
  return stream.open(path) && stream.read(&first, 1) >= 0 && stream.codec() == Codec::plain;
}

int partsOf(const InputFile& input, const BuildOptions& options) {
  if (options.threads < 2 || options.verbose || options.progress || input.type != pathFile ||
      !readingOnlyAdds(input) || isStdinName(input.name.c_str()))
    return 1;
  struct stat status;
  if (stat(input.openName(), &status) != 0 || !S_ISREG(status.st_mode)) return 1;
  const unsigned long long size = static_cast<unsigned long long>(status.st_size);
  // A smaller part costs more in its own graph than its thread saves; and as each part but the
  // first holds a graph that may be as large as the whole file's, there are at most kMaxParts.
  constexpr unsigned long long kMaxParts = 8;
  unsigned long long parts = size / options.minPartBytes;
  if (parts > kMaxParts) parts = kMaxParts;
  if (parts > static_cast<unsigned long long>(options.threads)) parts = options.threads;
  return parts >= 2 && isPlainFile(input.openName()) ? static_cast<int>(parts) : 1;
}

FileReading readInParts(const InputFile& input, int entry, int parts, const BuildOptions& options,
                        EdgeLookup& edges, BuildReport* report) {
  struct stat status;
  const unsigned long long size =
      stat(input.openName(), &status) == 0 ? static_cast<unsigned long long>(status.st_size) : 0;
  std::vector<PartReading> readings(static_cast<std::size_t>(parts));
  for (std::size_t i = 0; i < readings.size(); ++i) {
    readings[i].part = FilePart{size * i / readings.size(), size * (i + 1) / readings.size()};
  }
  // The last part reads to the end, whatever the file grew to.
  readings.back().part.end = ~0ull;
  auto read = [&](PartReading& part, EdgeLookup& into) {
    part.reading = readFirstPassFile(input, 0, ReadingStep{}, options, 1, true, into,
                                     report != nullptr ? &part.report : nullptr, &part.part);
  };
  std::vector<std::thread> threads;
  std::vector<PartReading*> refused;  // parts whose thread the system refused: read here
  for (std::size_t i = 1; i < readings.size(); ++i) {
    PartReading& part = readings[i];
    part.graph = std::make_unique<ASGraph>();
    part.edges = std::make_unique<EdgeLookup>(*part.graph, options.noSelfLoops);
    std::thread thread = helper_thread::start([&read, &part] { read(part, *part.edges); });
    if (thread.joinable()) {
      threads.push_back(std::move(thread));
    } else {
      refused.push_back(&part);
    }
  }
  read(readings[0], edges);
  for (PartReading* part : refused) read(*part, *part->edges);
  for (std::thread& thread : threads) thread.join();
  for (PartReading& part : readings) {
    if (part.reading.result != buildOk) return part.reading;
  }
  for (PartReading& part : readings) {
    if (report != nullptr) report->addReading(entry, part.report.entry(0));
    if (part.graph != nullptr) {
      part.edges.reset();
      addPartialGraph(edges.graph(), *part.graph);
      part.graph.reset();
    }
  }
  return readings[0].reading;
}
