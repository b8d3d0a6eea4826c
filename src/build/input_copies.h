// The inputs graph construction reads twice (a file read in both passes has two entries) that
// cannot be opened twice: standard input, a pipe, a FIFO, a device. Each is copied once, before
// anything is read, to a temporary file that both readings open; messages still name the input.
#ifndef ZELGRIN_BUILD_INPUT_COPIES_H
#define ZELGRIN_BUILD_INPUT_COPIES_H

#include <memory>
#include <vector>

#include "build/build_report.h"
#include "build/input_file.h"
#include "io/temporary_copy.h"

class InputCopies {
 public:
  // Copies every name that more than one entry gives and that cannot be opened twice, and sets
  // the copy of its entries (marked copied in the report). False, with the error printed, when
  // one cannot be copied. The copies are removed when this object goes.
  bool make(std::vector<InputFile>& inputs, BuildReport* report);

 private:
  std::vector<std::unique_ptr<TemporaryCopy>> copies_;
};

#endif  // ZELGRIN_BUILD_INPUT_COPIES_H
