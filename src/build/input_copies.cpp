#include "build/input_copies.h"

#include <cstring>

#include "build/parse_report.h"

bool InputCopies::make(int count, char* const* names, BuildReport* report) {
  openNames_.assign(names, names + count);
  for (int k = 0; k < count; ++k) {
    // Copied at the first entry of its name; a later one finds it copied.
    bool again = false, laterToo = false;
    for (int j = 0; j < count; ++j) {
      if (j == k || std::strcmp(names[j], names[k]) != 0) continue;
      (j < k ? again : laterToo) = true;
    }
    if (again || !laterToo || !TemporaryCopy::needed(names[k])) continue;
    copies_.push_back(std::make_unique<TemporaryCopy>());
    TemporaryCopy& copy = *copies_.back();
    if (!copy.make(names[k])) {
      reportReadFailure(names[k], copy.reason());
      return false;
    }
    for (int j = k; j < count; ++j) {
      if (std::strcmp(names[j], names[k]) != 0) continue;
      openNames_[static_cast<std::size_t>(j)] = const_cast<char*>(copy.path());
      if (report != nullptr) report->entry(j).copied = true;
    }
  }
  return true;
}
