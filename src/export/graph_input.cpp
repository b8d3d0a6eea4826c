#include "export/graph_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// A stream line source that owns its file: the file is closed with it.
class OwnedFileLines : public GraphLineSource {
 public:
  explicit OwnedFileLines(std::FILE* file) : file_(file), lines_(file) {}
  ~OwnedFileLines() override {
    if (file_ != stdin) std::fclose(file_);
  }
  OwnedFileLines(const OwnedFileLines&) = delete;
  OwnedFileLines& operator=(const OwnedFileLines&) = delete;
  char* nextLine(std::size_t& length) override { return lines_.nextLine(length); }

 private:
  std::FILE* file_;
  StreamLineSource lines_;
};

}  // namespace

std::unique_ptr<GraphLineSource> openGraphInput(const char* name, std::string& reason) {
  std::FILE* file = std::strcmp(name, "-") == 0 ? stdin : std::fopen(name, "r");
  if (file == nullptr) {
    reason = std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<OwnedFileLines>(file);
}

LoadResult loadGraph(const char* name, ASGraph& graph, std::string& message) {
  std::string reason;
  std::unique_ptr<GraphLineSource> lines = openGraphInput(name, reason);
  if (lines == nullptr) {
    message = std::string("Error while opening graph file `") + name + "'\n(" + reason + ")\n";
    return LoadResult::unreadable;
  }
  if (readGraphFile(*lines, graph, reason)) return LoadResult::loaded;
  message = std::strcmp(name, "-") == 0
                ? std::string("Input does not appear to be a valid graph:\n")
                : std::string("File `") + name + "' does not appear to be a valid graph file:\n";
  message += reason + "\n";
  return LoadResult::invalid;
}
