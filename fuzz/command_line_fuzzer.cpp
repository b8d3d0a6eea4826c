// Feeds arbitrary argument vectors (the input split at newlines) to the command-line parser and
// checks the layout graph construction relies on after a successful parse. Arguments hold no
// line feed here, but a carriage return may come in one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string storage[400];
  static char* argv[401];
  int argc = 0;
  storage[argc++] = "zelgrin";
  std::string current;
  for (size_t k = 0; k < size && argc < 400; ++k) {
    if (data[k] == '\n') {
      storage[argc++] = current;
      current.clear();
    } else if (data[k] != '\0') {
      current += static_cast<char>(data[k]);
    }
  }
  if (argc < 400 && !current.empty()) storage[argc++] = current;
  for (int k = 0; k < argc; ++k) argv[k] = &storage[k][0];
  argv[argc] = nullptr;

  CommandLine commandLine;
  std::string message;
  bool ok = parseArguments(argc, argv, commandLine, message);
  if (ok != message.empty()) abort();
  const RunOptions& options = commandLine.options;
  if (!ok || options.help || options.version) return 0;
  const std::vector<InputFile>& inputs = commandLine.inputs;
  if (inputs.size() > maxInputFiles) abort();
  // The comment and the input names become lines of the graph file.
  if (std::strpbrk(options.comment.c_str(), "\r\n") != nullptr) abort();
  bool mergedSeen = false;
  for (const InputFile& input : inputs) {
    if (input.contents == 0) abort();
    if (std::strpbrk(input.name.c_str(), "\r\n") != nullptr) abort();
    // Files merged by prefix (the dumps, and the IP covering of tables and MRT files) come last.
    const bool merged = readInMerge(input);
    if (mergedSeen && !merged) abort();
    mergedSeen = mergedSeen || merged;
  }
  return 0;
}
