// The inputs graph construction reads twice (a file read in both passes has two entries) that
// cannot be opened twice: standard input, a pipe, a FIFO, a device. Each is copied once, before
// anything is read, to a temporary file that both readings open; messages still name the input.
#pragma once

#include <memory>
#include <vector>

#include "build/build_report.h"
#include "io/temporary_copy.h"

class InputCopies {
 public:
  // Copies every name that more than one of the `count` entries give and that cannot be opened
  // twice, marking its entries copied in the report. False, with the error printed, when one
  // cannot be copied.
  bool make(int count, char* const* names, BuildReport* report);
  // The name to open for entry k: its copy's path, or its own name.
  const char* openName(int k) const { return openNames_[static_cast<std::size_t>(k)]; }
  // Those names for all entries.
  char* const* openNames() const { return openNames_.data(); }

 private:
  std::vector<std::unique_ptr<TemporaryCopy>> copies_;
  std::vector<char*> openNames_;
};
