#include "build/build_graph.h"

#include <cerrno>
#include <cstdio>

#include "build/dump_merge.h"
#include "build/line_handlers.h"
#include "build/parse_report.h"
#include "driver/console.h"

namespace {

Parser* makeParser(file_type type) {
  switch (type) {
    case satFile: return new satParser;
    case vantageFile: return new vantageParser;
    case pathFile: return new pathParser;
    case unknownFile: return new unknownParser;
    case bgpFile: break;
  }
  return nullptr;
}

// "Reading nodes, edges file (step 1 of 3)": the contents n, e, d, c in this order; i is
// never named.
void announceStep(int contents, int step, int totalSteps) {
  static const struct { int flag; const char* word; } words[] = {
      {getNodes, " nodes"}, {getEdges, " edges"}, {getDirections, " edge directions"},
      {getPathCovering, " path covering"}};
  std::fputs("Reading", stdout);
  bool first = true;
  for (const auto& entry : words) {
    if (!(contents & entry.flag)) continue;
    if (!first) std::fputs(",", stdout);
    std::fputs(entry.word, stdout);
    first = false;
  }
  std::printf(" file (step %i of %i)\n", step, totalSteps);
}

void handleLine(EdgeLookup& edges, Parser& parser, file_type type, int contents) {
  switch (type) {
    case pathFile: handlePathLine(edges, static_cast<pathParser&>(parser).data, contents); break;
    case vantageFile:
      handleVantageLine(edges, static_cast<vantageParser&>(parser).data, contents);
      break;
    case unknownFile:
      handleUnknownLine(edges, static_cast<unknownParser&>(parser).data, contents);
      break;
    case satFile: handleSatLine(edges, static_cast<satParser&>(parser).data, contents); break;
    case bgpFile: break;
  }
}

// Reads one file that is not a dump from start to end. Returns 0, or 2 when it cannot be
// opened or read.
int readFile(const char* name, file_type type, int contents, int step, int totalSteps,
             bool progress, bool verbose, EdgeLookup& edges) {
  Parser* parser = makeParser(type);
  if (parser == nullptr || !parser->openFile(name)) {
    int openError = errno;
    delete parser;
    reportOpenFailure(name, openError);
    return 2;
  }
  if (progress) {
    announceStep(contents, step, totalSteps);
    std::printf("`%s'\n", name);
  }
  while (parser->nextLine() == 0) {
    if (parser->parseLine() != 0) {
      if (verbose) reportParseError(*parser, name, true);
      continue;
    }
    if (progress) printPercentage(parser->filePos(), parser->fileSize());
    handleLine(edges, *parser, type, contents);
  }
  if (parser->readError() != 0) {
    reportReadFailure(name, parser->readErrorText());
    delete parser;
    return 2;
  }
  if (progress) {
    printPercentage(parser->filePos(), parser->fileSize());
    std::fputs("\n", stdout);
  }
  parser->closeFile();
  delete parser;
  return 0;
}

}  // namespace

int buildGraph(short numOtherFiles, short numBGPFiles, char** fileNames, file_type* fileTypes,
               int* fileContents, bool progress, bool verbose, unsigned short* vantagePoints,
               ASGraph& graph) {
  const int totalSteps = numOtherFiles + (numBGPFiles > 0 ? 1 : 0);
  EdgeLookup edges(graph);
  for (int i = 0; i < numOtherFiles; i++) {
    int result = readFile(fileNames[i], fileTypes[i], fileContents[i], i + 1, totalSteps,
                          progress, verbose, edges);
    if (result != 0) return result;
  }
  if (numBGPFiles <= 0) return 0;
  return mergeDumps(numBGPFiles, fileNames + numOtherFiles, vantagePoints + numOtherFiles,
                    static_cast<short>(numOtherFiles + 1), progress, verbose, graph);
}
