#include "build/dump_merge.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "build/build_graph.h"
#include "build/ip_covering.h"
#include "build/open_input.h"
#include "build/parse_report.h"
#include "driver/console.h"

namespace {

// The number of host bits of a contiguous netmask, 32 minus its length: the trailing zeros.
unsigned long long hostBits(std::uint32_t netmask) {
  if (netmask == 0) return 32;
#if defined(__GNUC__)
  return static_cast<unsigned long long>(__builtin_ctz(netmask));
#else
  unsigned long long bits = 0;
  for (; (netmask & 1u) == 0; netmask >>= 1) ++bits;
  return bits;
#endif
}

// The place of a prefix in the merge order as one number: the address, then the longer
// prefix first. Ties between dumps are broken by their index.
unsigned long long orderKey(const IPPrefix& prefix) {
  unsigned long long address = prefix.address().value();
  return (address << 6) | hostBits(prefix.netmask().value());
}

// All dumps of one merge, with the parsed route each active dump holds and a heap of the
// active dumps ordered by (prefix, index), so that choosing the next route does not scan
// every dump.
class DumpMerge {
 public:
  DumpMerge(short count, char** names, file_type* types, ASNumber* vantages, bool verbose,
            BuildReport* report, int firstReportEntry, bool exact, ASWidth width)
      : count_(count), names_(names), vantages_(vantages), verbose_(verbose), report_(report),
        firstReportEntry_(firstReportEntry), exact_(exact),
        formats_(new const InputFormat*[count]), parsers_(new Parser*[count]),
        prefixes_(new IPPrefix[count]), keys_(new unsigned long long[count]),
        countedPos_(new unsigned long long[count]), heap_(new short[count]), heapSize_(0),
        failed_(false) {
    for (short k = 0; k < count_; k++) {
      formats_[k] = &formatOf(types[k]);
      parsers_[k] = formats_[k]->makeRouteParser();
      parsers_[k]->setWidth(width);
    }
  }

  ~DumpMerge() {
    for (short k = 0; k < count_; k++) delete parsers_[k];
    delete[] formats_;
    delete[] parsers_;
    delete[] prefixes_;
    delete[] keys_;
    delete[] countedPos_;
    delete[] heap_;
  }

  int run(short step, bool progress, EdgeLookup& edges) {
    if (progress) std::printf("Reading IP covering file(s) (step %i of %i)\n", step, step);
    // Standard input has no size, so with it among the dumps no bar can be drawn.
    bool bar = progress;
    for (short k = 0; k < count_; k++) {
      if (!openInput(*parsers_[k], names_[k])) {
        reportOpenFailure(names_[k], errno);
        return buildInputFailed;
      }
      if (isStdinName(names_[k])) bar = false;
      if (progress) std::printf("`%s'\n", names_[k]);
    }
    float totalSize = 0;
    for (short k = 0; k < count_; k++) totalSize += parsers_[k]->fileSize();

    // Every dump offers its first line; then each, in order, settles on its first route.
    // Positions are those before a dump skipped its unparseable lines, as the progress of
    // a merge cycle is taken before the lines are parsed.
    bool* offered = new bool[count_];
    bool anyActive = false;
    for (short k = 0; k < count_; k++) {
      offered[k] = advance(k);
      anyActive = anyActive || offered[k];
    }
    for (short k = 0; k < count_ && !failed_; k++) {
      countedPos_[k] = parsers_[k]->filePos();
      if (offered[k]) settle(k);
    }
    delete[] offered;
    if (failed_) return buildInputFailed;
    // A cycle runs while some dump holds a line, even when settling then drops them all; its
    // progress is drawn before it knows.
    short skipped = -1;  // -1: every dump settled during the first cycle
    while (anyActive) {
      if (bar) printPercentage(positionSum(), totalSize);
      if (skipped == -1) {
        for (short k = 0; k < count_; k++) countedPos_[k] = parsers_[k]->filePos();
      } else {
        countedPos_[skipped] = parsers_[skipped]->filePos();
      }
      if (heapSize_ == 0) break;
      short chosen = popFirst();
      addIPCovering(edges, prefixes_[chosen], routeOf(chosen).path, vantages_[chosen], exact_);
      if (report_ != nullptr) report_->entry(firstReportEntry_ + chosen).stats.countUsed();
      bool more = advance(chosen);
      if (failed_) return buildInputFailed;
      countedPos_[chosen] = parsers_[chosen]->filePos();
      skipped = chosen;
      if (more) settle(chosen);
      if (failed_) return buildInputFailed;
      anyActive = more || heapSize_ > 0;
    }
    if (bar) {
      printPercentage(totalSize, totalSize);
      std::fputs("\n", stdout);
    }
    if (report_ != nullptr) {
      for (short k = 0; k < count_; k++) report_->finishReading(firstReportEntry_ + k, *parsers_[k]);
    }
    return buildOk;
  }

 private:
  // The route dump k's parser holds, read through its format.
  Route& routeOf(short k) { return formats_[k]->routeOf(*parsers_[k]); }

  // Moves dump k to its next line; false at its end. A read error stops the merge.
  bool advance(short k) {
    if (parsers_[k]->nextLine() == Parser::lineReady) return true;
    if (parsers_[k]->readError() != 0) {
      reportReadFailure(names_[k], parsers_[k]->readErrorText());
      failed_ = true;
    }
    return false;
  }

  // Parses dump k's current line, skipping lines that do not parse, and enters its prefix
  // into the heap; a dump that runs out of lines drops out of the merge.
  void settle(short k) {
    Parser& parser = *parsers_[k];
    for (;;) {
      if (parser.parseLine() == Parser::parseOk) break;
      if (verbose_) reportParseError(parser, names_[k], false);
      if (report_ != nullptr) {
        report_->countFailure(firstReportEntry_ + k, parser, parser.refusedForWidth());
      }
      if (!advance(k)) return;
    }
    const Route& route = routeOf(k);
    if (route.networkMask.has_value())
      prefixes_[k] = IPPrefix(route.network, *route.networkMask);
    else
      prefixes_[k] = IPPrefix(route.network);
    keys_[k] = orderKey(prefixes_[k]);
    push(k);
  }

  float positionSum() const {
    float sum = 0;
    for (short k = 0; k < count_; k++) sum += static_cast<float>(countedPos_[k]);
    return sum;
  }

  bool before(short a, short b) const {
    return keys_[a] < keys_[b] || (keys_[a] == keys_[b] && a < b);
  }

  void push(short k) {
    int i = heapSize_++;
    while (i > 0 && before(k, heap_[(i - 1) / 2])) {
      heap_[i] = heap_[(i - 1) / 2];
      i = (i - 1) / 2;
    }
    heap_[i] = k;
  }

  short popFirst() {
    short first = heap_[0];
    short last = heap_[--heapSize_];
    int i = 0;
    for (;;) {
      int child = 2 * i + 1;
      if (child >= heapSize_) break;
      if (child + 1 < heapSize_ && before(heap_[child + 1], heap_[child])) child++;
      if (!before(heap_[child], last)) break;
      heap_[i] = heap_[child];
      i = child;
    }
    if (heapSize_ > 0) heap_[i] = last;
    return first;
  }

  short count_;
  char** names_;
  ASNumber* vantages_;
  bool verbose_;
  BuildReport* report_;
  int firstReportEntry_;
  bool exact_;
  const InputFormat** formats_;
  Parser** parsers_;
  IPPrefix* prefixes_;
  unsigned long long* keys_;
  unsigned long long* countedPos_;  // each dump's position as the current cycle counts it
  short* heap_;
  int heapSize_;
  bool failed_;
};

}  // namespace

int mergeDumps(short count, char** fileNames, file_type* fileTypes, ASNumber* vantagePoints,
               short stepNumber, bool progress, bool verbose, ASGraph& graph,
               BuildReport* report, int firstReportEntry, bool exactCovering, ASWidth width) {
  DumpMerge merge(count, fileNames, fileTypes, vantagePoints, verbose, report, firstReportEntry,
                  exactCovering, width);
  if (exactCovering) startExactCovering(graph);
  EdgeLookup edges(graph);
  return merge.run(stepNumber, progress, edges);
}
