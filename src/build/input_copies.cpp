#include "build/input_copies.h"

#include "build/parse_report.h"

bool InputCopies::make(std::vector<InputFile>& inputs, BuildReport* report) {
  const std::size_t count = inputs.size();
  for (std::size_t k = 0; k < count; ++k) {
    const std::string& name = inputs[k].name;
    // Copied at the first entry of its name; a later one finds it copied.
    bool again = false, laterToo = false;
    for (std::size_t j = 0; j < count; ++j) {
      if (j != k && inputs[j].name == name) (j < k ? again : laterToo) = true;
    }
    if (again || !laterToo || !TemporaryCopy::needed(name.c_str())) continue;
    copies_.push_back(std::make_unique<TemporaryCopy>());
    TemporaryCopy& copy = *copies_.back();
    if (!copy.make(name.c_str())) {
      reportReadFailure(name.c_str(), copy.reason());
      return false;
    }
    for (std::size_t j = k; j < count; ++j) {
      if (inputs[j].name != name) continue;
      inputs[j].copy = copy.path();
      if (report != nullptr) report->entry(static_cast<int>(j)).copied = true;
    }
  }
  return true;
}
