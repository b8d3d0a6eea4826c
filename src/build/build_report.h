// What graph construction made of each input file: the lines it read, the records it used and
// the records it passed over, by reason. The driver prints it with --stats, and warns about a
// file of a modern format from which nothing at all could be used.
#ifndef ZELGRIN_BUILD_BUILD_REPORT_H
#define ZELGRIN_BUILD_BUILD_REPORT_H

#include <cstdint>
#include <memory>
#include <vector>

#include "parsers/parser.h"
#include "parsers/read_stats.h"

// One reading of one input file (a file read in both passes has two).
// Every unit read is counted once: linesRead = stats.used() + stats.skipped().
// Threads reading side by side count each record into reports of their own: each report on
// cache lines of its own, lest every count move a line between their cores.
struct alignas(64) InputReport {
  std::uint64_t linesRead = 0;
  ReadStats stats;            // used, and skipped by reason
  std::uint64_t applied = 0;  // of the used records, those that reached an edge of the graph
  bool copied = false;        // read from a temporary copy (see input_copies.h)
};

class BuildReport {
 public:
  // One report per input entry, in reading order.
  explicit BuildReport(int entries) : entries_(static_cast<std::size_t>(entries)) {}

  int size() const { return static_cast<int>(entries_.size()); }
  InputReport& entry(int k) { return entries_[static_cast<std::size_t>(k)]; }
  const InputReport& entry(int k) const { return entries_[static_cast<std::size_t>(k)]; }

  // Counts a line `parser` failed to parse, unless the parser counts its own (skipStats), under
  // the reason its message gives without the quoted text, or under kAboveAS16Reason when only
  // the 16-bit width of the run refused it (the parser's refusedForWidth).
  // Lines that say nothing (an empty line's "There is no current line to be parsed") count as
  // kBlankOrComment, and an AS number refused for being an AS set or confederation segment
  // ("Invalid AS number: `{1,2}'") as kASSetReason or kASConfederationReason.
  void countFailure(int k, const Parser& parser, bool refusedAs16);
  // The same for a failure read earlier (by a reader thread): the parser's errReason then, and
  // whether it counts its own.
  void countFailure(int k, const char* reason, bool refusedAs16, bool parserCountsOwn);
  // Counts a record used; `reachedEdge` when it reached an edge of the graph (EdgeLookup's
  // takeReached), which a reading of directions or IP covering reports.
  void countUsed(int k, bool reachedEdge) {
    entry(k).stats.countUsed();
    if (reachedEdge) ++entry(k).applied;
  }
  // At the end of a reading: the units read, what the parser passed over on its own, and the
  // rest of what was read that neither the parser nor the reading counted, under the parser's
  // passedOverReason.
  void finishReading(int k, const Parser& parser);
  // The same when the reading was made in parts, which read `unitsRead` together.
  void finishReading(int k, const Parser& parser, std::uint64_t unitsRead);
  // Adds to entry k the counts of a reading made into another report (by another thread).
  void addReading(int k, const InputReport& reading);

 private:
  // A reason text kept for the life of the report, the same pointer for the same text.
  const char* keep(const char* text, std::size_t length);

  std::vector<InputReport> entries_;
  std::vector<std::unique_ptr<char[]>> reasons_;
};

#endif  // ZELGRIN_BUILD_BUILD_REPORT_H
