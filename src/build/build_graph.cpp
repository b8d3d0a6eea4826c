#include "build/build_graph.h"

#include <cerrno>
#include <cstdio>

#include "build/dump_merge.h"
#include "build/open_input.h"
#include "build/parse_report.h"
#include "driver/console.h"

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

// Reads one file that is not a dump from start to end. Returns 0, or 2 when it cannot be
// opened or read.
int readFile(const char* name, const InputFormat& format, int contents, ASNumber vantage,
             int step, int totalSteps, bool progress, bool verbose, EdgeLookup& edges,
             BuildReport* report, ASWidth width) {
  const int entry = step - 1;
  Parser* parser = format.makeParser();
  parser->setWidth(width);
  if (!openInput(*parser, name)) {
    int openError = errno;
    delete parser;
    reportOpenFailure(name, openError);
    return buildInputFailed;
  }
  if (progress) {
    announceStep(contents, step, totalSteps);
    std::printf("`%s'\n", name);
  }
  // Standard input has no size to measure progress against.
  const bool bar = progress && !isStdinName(name);
  while (parser->nextLine() == Parser::lineReady) {
    if (parser->parseLine() != Parser::parseOk) {
      if (verbose) reportParseError(*parser, name, true);
      if (report != nullptr) report->countFailure(entry, *parser, parser->refusedForWidth());
      continue;
    }
    if (bar) printPercentage(parser->filePos(), parser->fileSize());
    format.handleLine(edges, *parser, contents, vantage);
    if (report != nullptr) report->entry(entry).stats.countUsed();
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

int buildGraph(short numOtherFiles, short numBGPFiles, char** fileNames, file_type* fileTypes,
               int* fileContents, bool progress, bool verbose, ASNumber* vantagePoints,
               ASGraph& graph, BuildReport* report, bool exactCovering, ASWidth width) {
  const int totalSteps = numOtherFiles + (numBGPFiles > 0 ? 1 : 0);
  EdgeLookup edges(graph);
  for (int i = 0; i < numOtherFiles; i++) {
    int result = readFile(fileNames[i], formatOf(fileTypes[i]), fileContents[i], vantagePoints[i],
                          i + 1, totalSteps, progress, verbose, edges, report, width);
    if (result != buildOk) return result;
  }
  if (numBGPFiles <= 0) return buildOk;
  return mergeDumps(numBGPFiles, fileNames + numOtherFiles, fileTypes + numOtherFiles,
                    vantagePoints + numOtherFiles, static_cast<short>(numOtherFiles + 1),
                    progress, verbose, graph, report, numOtherFiles, exactCovering, width);
}
