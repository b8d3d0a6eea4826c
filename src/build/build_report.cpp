#include "build/build_report.h"

#include <cstring>

#include "asgraph/as_number.h"

void BuildReport::countFailure(int k, const Parser& parser, bool refusedAs16) {
  countFailure(k, parser.errReason(), refusedAs16, parser.skipStats() != nullptr);
}

void BuildReport::countFailure(int k, const char* reason, bool refusedAs16,
                               bool parserCountsOwn) {
  if (parserCountsOwn) return;
  if (refusedAs16) {
    entry(k).stats.countSkipped(kAboveAS16Reason);
    return;
  }
  // "Invalid AS number: `12a'" counts as "Invalid AS number": the quoted text varies.
  const char* text = reason;
  std::size_t length = std::strcspn(text, "`");
  while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == ':')) --length;
  entry(k).stats.countSkipped(keep(text, length));
}

void BuildReport::finishReading(int k, const Parser& parser) {
  InputReport& report = entry(k);
  report.linesRead = parser.readLines();
  const ReadStats* own = parser.skipStats();
  if (own == nullptr) return;
  for (int i = 0; i < own->reasonCount(); ++i) report.stats.countSkipped(own->reason(i), own->count(i));
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
