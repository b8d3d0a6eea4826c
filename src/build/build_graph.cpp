#include "build/build_graph.h"

#include <cerrno>
#include <cstdio>

#include "build/dump_merge.h"
#include "build/input_copies.h"
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
// Returns 0, or 2 when it cannot be opened or read.
int readFile(const InputFile& input, int entry, int step, int totalSteps,
             const BuildOptions& options, EdgeLookup& edges, BuildReport* report) {
  const char* name = input.name.c_str();
  const InputFormat& format = formatOf(input.type);
  Parser* parser = format.makeParser();
  parser->setWidth(options.width);
  parser->setTimeWindow(options.timeWindow);
  parser->setFamily(options.family);
  parser->setReadAhead(options.threads > 1);
  if (!openInput(*parser, input.openName())) {
    int openError = errno;
    delete parser;
    reportOpenFailure(name, openError);
    return buildInputFailed;
  }
  if (options.progress) {
    announceStep(input.contents, step, totalSteps);
    std::printf("`%s'\n", name);
  }
  // Standard input has no size to measure progress against.
  const bool bar = options.progress && !isStdinName(name);
  while (parser->nextLine() == Parser::lineReady) {
    if (parser->parseLine() != Parser::parseOk) {
      if (options.verbose) reportParseError(*parser, name, true);
      if (report != nullptr) {
        report->countFailure(entry, *parser, parser->refusedForWidth());
      }
      continue;
    }
    if (bar) printPercentage(parser->filePos(), parser->fileSize());
    format.handleLine(edges, *parser, input.contents, input.vantage);
    if (report != nullptr) report->countUsed(entry, edges.takeReached());
  }
  if (report != nullptr) report->finishReading(entry, *parser);
  if (parser->readError() != 0) {
    reportReadFailure(name, parser->readErrorText());
    delete parser;
    return buildInputFailed;
  }
  if (bar) {
    printPercentage(parser->filePos(), parser->fileSize());
    std::fputs("\n", stdout);
  }
  parser->closeFile();
  delete parser;
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
