// Feeds arbitrary bytes as a file to PathParser and parses every line it delivers. Each line's
// outcome must also be what reading its tokens with strtol gives, as the parser once did: the
// parser's own number reading is checked against the C library's. The file read in two parts,
// cut where the input's size says, must give the same lines.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "asgraph/token_splitter.h"
#include "fuzz_input_file.h"
#include "parsers/path_parser.h"

namespace {

// The path a line gives in a 16-bit run, read token by token with the C library's strtol; false
// at the first token that is not an AS number, with the ASes before it in `path`.
bool referencePath(const char* line, std::vector<ASNumber>& path) {
  std::string work(line);
  TokenSplitter tokens(&work[0], TokenSplitter::Separators::spacesAndTabs);
  bool privateSegment = false;
  for (char* token = tokens.next(); token != nullptr; token = tokens.next()) {
    if (token[0] == '(') privateSegment = true;
    if (!privateSegment) {
      char* end = nullptr;
      const long as = std::strtol(token, &end, 10);
      if (!ASWidth{}.accepts(static_cast<unsigned long long>(as)) || *end != '\0') return false;
      path.push_back(static_cast<ASNumber>(as));
    }
    if (token[std::strlen(token) - 1] == ')') privateSegment = false;
  }
  return true;
}

// The lines the parser delivers from [begin, end) of the file `name` (the whole file: 0, ~0).
std::vector<std::string> linesOf(const char* name, unsigned long long begin,
                                 unsigned long long end) {
  std::vector<std::string> lines;
  PathParser parser;
  if (!parser.openFile(name)) return lines;
  if ((begin != 0 || end != ~0ull) && !parser.readOnlyPart(begin, end)) abort();
  while (parser.nextLine() == 0) lines.push_back(parser.currentLine());
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (looksCompressed(bytes, size)) return 0;
  parseWholeInput<PathParser>(bytes, size);
  const char* name = writeFuzzInput(bytes, size);
  if (name == nullptr) return 0;
  PathParser parser;
  if (!parser.openFile(name)) return 0;
  while (parser.nextLine() == 0) {
    const std::string line = parser.currentLine();
    const int code = parser.parseLine();
    // A line holding a NUL byte is refused whatever comes before the NUL.
    if (line.empty() || std::strcmp(parser.errReason(), "Line contains a NUL byte") == 0) continue;
    std::vector<ASNumber> expected;
    const bool ok = referencePath(line.c_str(), expected);
    if (code != (ok ? 0 : 3)) abort();
    std::vector<ASNumber> got;
    List<ASNumber>& path = parser.data.path;
    bool more = !path.isEmpty();
    for (path.goToFirst(); more; more = path.next()) got.push_back(path.current());
    if (got != expected) abort();
  }
  const unsigned long long cut = size == 0 ? 0 : bytes[size - 1] % (size + 1);
  std::vector<std::string> parts = linesOf(name, 0, cut);
  for (const std::string& line : linesOf(name, cut, ~0ull)) parts.push_back(line);
  if (parts != linesOf(name, 0, ~0ull)) abort();
  return 0;
}
