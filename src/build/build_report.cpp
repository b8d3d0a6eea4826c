#include "build/build_report.h"

#include <cstring>

#include "asgraph/as_number.h"

namespace {

// The parse failures a report names otherwise than by their reason text.
constexpr const char* kNoLineReason = "There is no current line to be parsed";
constexpr const char* kBadASReason = "Invalid AS number";

}  // namespace

void BuildReport::countFailure(int k, const Parser& parser, bool refusedAs16) {
  countFailure(k, parser.errReason(), refusedAs16, parser.skipStats() != nullptr);
}

void BuildReport::countFailure(int k, const char* reason, bool refusedAs16, bool parserCountsOwn) {
  if (parserCountsOwn) return;
  if (refusedAs16) {
    entry(k).stats.countSkipped(kAboveAS16Reason);
    return;
  }
  const char* text = reason;
  const char* quoted = std::strchr(text, '`');
  if (std::strcmp(text, kNoLineReason) == 0) {
    entry(k).stats.countSkipped(kBlankOrComment);
    return;
  }
  if (quoted != nullptr && std::strncmp(text, kBadASReason, std::strlen(kBadASReason)) == 0) {
    // A path list cannot hold "{1,2}" nor "(65001 65002)": named as what they are.
    if (quoted[1] == '{') {
      entry(k).stats.countSkipped(kASSetReason);
      return;
    }
    if (quoted[1] == '(' || quoted[1] == '[') {
      entry(k).stats.countSkipped(kASConfederationReason);
      return;
    }
  }
  // "Invalid AS number: `12a'" counts as "Invalid AS number": the quoted text varies.
  std::size_t length = std::strcspn(text, "`");
  while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == ':')) --length;
  entry(k).stats.countSkipped(keep(text, length));
}

void BuildReport::finishReading(int k, const Parser& parser) {
  finishReading(k, parser, parser.unitsRead());
}

void BuildReport::finishReading(int k, const Parser& parser, std::uint64_t unitsRead) {
  InputReport& report = entry(k);
  report.linesRead = unitsRead;
  const ReadStats* own = parser.skipStats();
  if (own != nullptr) {
    for (int i = 0; i < own->reasonCount(); ++i) {
      report.stats.countSkipped(own->reason(i), own->count(i));
    }
  }
  const std::uint64_t counted = report.stats.used() + report.stats.skipped();
  if (report.linesRead > counted) {
    report.stats.countSkipped(parser.passedOverReason(), report.linesRead - counted);
  }
}

void BuildReport::addReading(int k, const InputReport& reading) {
  InputReport& report = entry(k);
  report.linesRead += reading.linesRead;
  report.applied += reading.applied;
  report.stats.countUsed(reading.stats.used());
  for (int i = 0; i < reading.stats.reasonCount(); ++i) {
    const char* reason = reading.stats.reason(i);
    report.stats.countSkipped(keep(reason, std::strlen(reason)), reading.stats.count(i));
  }
}

const char* BuildReport::keep(const char* text, std::size_t length) {
  for (const std::unique_ptr<char[]>& kept : reasons_) {
    if (std::strncmp(kept.get(), text, length) == 0 && kept[length] == '\0') return kept.get();
  }
  reasons_.emplace_back(new char[length + 1]);
  std::memcpy(reasons_.back().get(), text, length);
  reasons_.back()[length] = '\0';
  return reasons_.back().get();
}
