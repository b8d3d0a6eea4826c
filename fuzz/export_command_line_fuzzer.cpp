// Feeds arbitrary argument vectors (the input split at newlines) to zelgrin-export's command
// line and checks what main relies on after a successful parse.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string storage[200];
  static char* argv[201];
  int argc = 0;
  storage[argc++] = "zelgrin-export";
  std::string current;
  for (size_t k = 0; k < size && argc < 200; ++k) {
    if (data[k] == '\n') {
      storage[argc++] = current;
      current.clear();
    } else if (data[k] != '\0') {
      current += static_cast<char>(data[k]);
    }
  }
  if (argc < 200 && !current.empty()) storage[argc++] = current;
  for (int k = 0; k < argc; ++k) argv[k] = &storage[k][0];
  argv[argc] = nullptr;

  ExportOptions options;
  std::string message;
  const bool ok = parseExportArguments(argc, argv, options, message);
  if (ok != message.empty()) std::abort();
  if (!ok || options.help || options.version) return 0;
  if (options.graphFile == nullptr) std::abort();
  if (options.format == ExportFormat::csv && !options.edgesOnly && options.output == nullptr) {
    std::abort();
  }
  if (options.around && options.aroundAS == 0) std::abort();
  return 0;
}
