#include "build/build_graph.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "build/dump_merge.h"
#include "build/dump_readers.h"
#include "build/input_copies.h"
#include "build/line_handlers.h"
#include "build/open_input.h"
#include "build/parse_report.h"
#include "console/console.h"

namespace {

// "Reading nodes, edges file (step 1 of 3)": the contents n, e, d, c in this order; i is
// never named.
void announceStep(int contents, int step, int totalSteps) {
  std::fputs("Reading", stdout);
  bool first = true;
  for (const ContentLetter& content : contentLetters) {
    if (!(contents & content.flag) || content.stepWord == nullptr) continue;
    if (!first) std::fputs(",", stdout);
    std::fputs(content.stepWord, stdout);
    first = false;
  }
  std::printf(" file (step %i of %i)\n", step, totalSteps);
}

// Reads one file that is not a dump from start to end; `entry` is its place in the report.
// Returns 0, or 2 when it cannot be opened or read. With threads, a file whose records are paths
// is parsed ahead by a reader thread while this one adds the paths to the graph, in file order.
int readFile(const InputFile& input, int entry, int step, int totalSteps,
             const BuildOptions& options, EdgeLookup& edges, BuildReport* report) {
  const char* name = input.name.c_str();
  const InputFormat& format = formatOf(input.type);
  std::unique_ptr<Parser> parser(format.makeParser());
  parser->setWidth(options.width);
  parser->setTimeWindow(options.timeWindow);
  parser->setFamily(options.family);
  parser->setReadAhead(options.threads > 1);
  if (!openInput(*parser, input.openName())) {
    reportOpenFailure(name, errno);
    return buildInputFailed;
  }
  if (options.progress) {
    announceStep(input.contents, step, totalSteps);
    std::printf("`%s'\n", name);
  }
  // Standard input has no size to measure progress against.
  const bool bar = options.progress && !isStdinName(name);
  const std::vector<Parser*> parsers{parser.get()};
  const std::vector<const InputFormat*> formats{&format};
  DumpReaders readers(parsers, formats, format.pathOf != nullptr ? options.threads : 1,
                      options.verbose, bar, DumpReaders::Capture::paths, {input.vantage});
  readers.start();
  const bool countsOwn = parser->skipStats() != nullptr;
  while (readers.nextLine(0)) {
    if (!readers.parseLine(0)) {
      if (options.verbose) {
        reportParseError(readers.lineNumber(0), readers.lineText(0), readers.reason(0), name, true);
      }
      if (report != nullptr) {
        report->countFailure(entry, readers.reason(0), readers.refusedForWidth(0), countsOwn);
      }
      continue;
    }
    if (bar) printPercentage(readers.filePos(0), parser->fileSize());
    if (readers.readsAhead()) {
      handleASPath(edges, readers.path(0), readers.pathLength(0), input.contents);
    } else {
      format.handleLine(edges, *parser, input.contents, input.vantage);
    }
    if (report != nullptr) report->countUsed(entry, edges.takeReached());
  }
  // The reader thread is done with the parser: its counts and errors are final.
  readers.stop();
  if (report != nullptr) report->finishReading(entry, *parser);
  if (parser->readError() != 0) {
    reportReadFailure(name, parser->readErrorText());
    return buildInputFailed;
  }
  if (bar) {
    printPercentage(parser->filePos(), parser->fileSize());
    std::fputs("\n", stdout);
  }
  parser->closeFile();
  return buildOk;
}

}  // namespace

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
  int step = 0;
  for (std::size_t k = 0; k < inputs.size(); ++k) {
    if (readInMerge(inputs[k])) continue;
    ++step;
    const int result =
        readFile(inputs[k], static_cast<int>(k), step, totalSteps, options, edges, report);
    if (result != buildOk) return result;
  }
  if (!anyMerged) return buildOk;
  return mergeDumps(inputs, options, graph, report);
}
