#include "build/first_pass_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "build/build_graph.h"
#include "build/dump_readers.h"
#include "build/line_handlers.h"
#include "build/open_input.h"
#include "build/parse_report.h"
#include "console/console.h"

namespace {

// "Reading nodes, edges file (step 1 of 3)": the contents n, e, d, c in this order; i is
// never named.
void announceStep(int contents, const ReadingStep& step) {
  std::fputs("Reading", stdout);
  bool first = true;
  for (const ContentLetter& content : contentLetters) {
    if (!(contents & content.flag) || content.stepWord == nullptr) continue;
    if (!first) std::fputs(",", stdout);
    std::fputs(content.stepWord, stdout);
    first = false;
  }
  std::printf(" file (step %i of %i)\n", step.step, step.totalSteps);
}

void announceReading(const InputFile& input, const ReadingStep& step) {
  announceStep(input.contents, step);
  std::printf("`%s'\n", input.name.c_str());
}

}  // namespace

FileReading readFirstPassFile(const InputFile& input, int entry, const ReadingStep& step,
                              const BuildOptions& options, int threads, bool deferProgress,
                              EdgeLookup& edges, BuildReport* report, const FilePart* part) {
  FileReading reading;
  const char* name = input.name.c_str();
  const InputFormat& format = formatOf(input.type);
  std::unique_ptr<Parser> parser(format.makeParser());
  parser->setWidth(options.width);
  parser->setTimeWindow(options.timeWindow);
  parser->setFamily(options.family);
  parser->setReadAhead(threads > 1);
  if (!openInput(*parser, input.openName())) {
    reading.result = buildInputFailed;
    reading.openFailed = true;
    reading.openErrno = errno;
    return reading;
  }
  if (part != nullptr && !parser->readOnlyPart(part->begin, part->end)) {
    reading.result = buildInputFailed;
    reading.readFailure = std::strerror(errno);
    return reading;
  }
  if (options.progress && !deferProgress) announceReading(input, step);
  // Standard input has no size to measure progress against.
  const bool bar = options.progress && !isStdinName(name);
  reading.barTotal = parser->fileSize();
  // Deferred, only the positions that may redraw the bar are kept: those that redraw it as
  // drawn from this file's first position on (the first always draws), and those past the
  // file's size, which may also redraw it against what an earlier file drew.
  float shown = -1.0f;
  auto showPosition = [&](unsigned long long position) {
    if (!deferProgress) {
      printPercentage(position, reading.barTotal);
    } else if (reading.barTotal != 0 && (percentageRedraws(position, reading.barTotal, shown) ||
                                         position > reading.barTotal)) {
      reading.barPositions.push_back(position);
    }
  };
  const std::vector<Parser*> parsers{parser.get()};
  const std::vector<const InputFormat*> formats{&format};
  DumpReaders readers(parsers, formats, format.pathOf != nullptr ? threads : 1, options.verbose,
                      bar, DumpReaders::Capture::paths, {input.vantage});
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
    if (bar) showPosition(readers.filePos(0));
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
    reading.result = buildInputFailed;
    reading.readFailure = parser->readErrorText();
    return reading;
  }
  reading.endPosition = parser->filePos();
  reading.addressOrder = parser->addressOrderSeen();
  if (bar && !deferProgress) {
    printPercentage(reading.endPosition, reading.barTotal);
    std::fputs("\n", stdout);
  }
  parser->closeFile();
  return reading;
}

void showReading(const InputFile& input, const ReadingStep& step, const BuildOptions& options,
                 const FileReading& reading) {
  const std::vector<unsigned long long>& positions = reading.barPositions;
  if (options.progress && !positions.empty() && positions[0] <= reading.barTotal &&
      !percentageWouldRedraw(positions[0], reading.barTotal)) {
    // The bar drawn last stopped short of 100%, just below this file's first position, so this
    // one's redraws follow from where that one stopped, which the reading could not know: read
    // the file again, to draw its bar only.
    ASGraph scratch;
    EdgeLookup scratchEdges(scratch);
    BuildOptions drawOnly = options;
    drawOnly.verbose = false;
    readFirstPassFile(input, 0, step, drawOnly, 1, false, scratchEdges, nullptr);
    if (reading.result != buildOk) reportReadingFailure(input, reading);
    return;
  }
  if (options.progress && !reading.openFailed) {
    announceReading(input, step);
    for (unsigned long long position : reading.barPositions) {
      printPercentage(position, reading.barTotal);
    }
    if (reading.result == buildOk && !isStdinName(input.name.c_str())) {
      printPercentage(reading.endPosition, reading.barTotal);
      std::fputs("\n", stdout);
    }
  }
  if (reading.result != buildOk) reportReadingFailure(input, reading);
}

void reportReadingFailure(const InputFile& input, const FileReading& reading) {
  if (reading.openFailed) {
    reportOpenFailure(input.name.c_str(), reading.openErrno);
  } else {
    reportReadFailure(input.name.c_str(), reading.readFailure.c_str());
  }
}
