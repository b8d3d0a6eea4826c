#include "build/first_pass_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "build/build_graph.h"
#include "console/console.h"

namespace {

// What reading `input` prints with its progress shown as it goes, or shown afterwards.
std::string printedBy(const InputFile& input, const BuildOptions& options, bool deferred,
                      float drawnBefore) {
  ASGraph graph;
  EdgeLookup edges(graph);
  testing::internal::CaptureStdout();
  printPercentage(drawnBefore, 100.0f);
  const FileReading reading =
      readFirstPassFile(input, 0, ReadingStep{2, 3}, options, 1, deferred, edges, nullptr);
  if (deferred) showReading(input, ReadingStep{2, 3}, options, reading);
  return testing::internal::GetCapturedStdout();
}

// A reading shown afterwards prints the bytes of the same reading shown as it goes, whatever bar
// was drawn before it: from 0.1%, the first position of the file (0.3%) does not redraw.
TEST(FirstPassFile, ProgressShownAfterwardsIsTheSame) {
  const std::string name = testing::TempDir() + "first_pass_paths.txt";
  std::FILE* file = std::fopen(name.c_str(), "w");
  ASSERT_NE(file, nullptr);
  for (int i = 1; i <= 300; ++i) std::fprintf(file, "%d %d %d\n", i, i + 1, 7 * i % 97 + 1);
  std::fclose(file);
  InputFile input;
  input.name = name;
  input.type = pathFile;
  input.contents = getNodes | getEdges | getPathCovering;
  BuildOptions options;
  options.progress = true;
  for (float before : {100.0f, 99.0f, 37.2f, 0.1f, 0.0f}) {
    const std::string live = printedBy(input, options, false, before);
    EXPECT_EQ(printedBy(input, options, true, before), live) << "after a bar at " << before;
  }
  std::remove(name.c_str());
}

}  // namespace
