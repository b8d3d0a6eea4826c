#include "driver/input_warnings.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "asgraph/as_number.h"
#include "build/first_block.h"
#include "build/input_sniff.h"
#include "build/open_input.h"
#include "console/console.h"

namespace {

// The letters that read text, one line at a time: each takes binary data or MRT route text as
// lines it cannot use.
bool readsText(FileType type) {
  switch (type) {
    case bgpFile:
    case satFile:
    case vantageFile:
    case pathFile:
    case unknownFile:
    case tableFile:
    case asrelFile:
      return true;
    default:
      return false;
  }
}

// What the file holds when that says its letter is wrong: the end of the warning, or null.
const char* wrongLetter(const InputFile& input) {
  const FileType type = input.type;
  std::string block;
  const char* name = input.name.c_str();
  if (!(readsText(type) || type == mrtFile || type == pipeFile) || isStdinName(name) ||
      !readFirstBlock(name, block) || block.empty()) {
    return nullptr;
  }
  const SniffedKind kind = sniffKind(block);
  // The MRT reader takes binary data of its own; only the text that decoders make of it is
  // worth a word.
  if (type == mrtFile) {
    return kind == SniffedKind::routeText ? "looks like MRT route text (bgpdump -m): use --file:l"
                                          : nullptr;
  }
  // The route text reader takes the text; the binary file it comes from needs m.
  if (type == pipeFile) {
    return kind == SniffedKind::mrt ? "looks like an MRT file: use --file:m" : nullptr;
  }
  switch (kind) {
    case SniffedKind::mrt:
      return "looks like an MRT file: use --file:m";
    case SniffedKind::routeText:
      return "looks like MRT route text (bgpdump -m): use --file:l";
    case SniffedKind::asrelText:
      if (type == vantageFile || type == unknownFile) {
        return "looks like a relationship file as published (a|b|rel): use --file:r";
      }
      return nullptr;
    case SniffedKind::other:
      break;
  }
  if (type == bgpFile && tableReaderTakesMore(name)) {
    return "looks like a table as today's routers print it (show ip bgp): use --file:t";
  }
  return nullptr;
}

// The records of a reading skipped only because a 16-bit run refuses their AS numbers.
unsigned long long refusedForWidth(const InputReport& reading) {
  const ReadStats& stats = reading.stats;
  for (int i = 0; i < stats.reasonCount(); ++i) {
    if (std::strcmp(stats.reason(i), kAboveAS16Reason) == 0) return stats.count(i);
  }
  return 0;
}

}  // namespace

std::vector<std::string> letterWarnings(const std::vector<InputFile>& inputs,
                                        const BuildReport& report, bool warnWidth) {
  std::vector<std::string> warnings(inputs.size());
  const std::size_t count = std::min(inputs.size(), static_cast<std::size_t>(report.size()));
  for (std::size_t k = 0; k < count; ++k) {
    const InputFile& input = inputs[k];
    if (input.rereads) continue;
    const std::string quotedName = "`" + input.name + "'";
    const char* wrong = wrongLetter(input);
    if (wrong != nullptr) {
      warnings[k] = "Warning: " + quotedName + " " + wrong;
      continue;
    }
    const unsigned long long refused =
        warnWidth ? refusedForWidth(report.entry(static_cast<int>(k))) : 0;
    if (refused == 0) continue;
    warnings[k] = "Warning: " + std::to_string(refused) + " " + formatOf(input.type).readUnit +
                  " of " + quotedName + " name AS numbers above 65535 and were skipped: use --as32";
  }
  return warnings;
}

void printWarnings(std::FILE* out, const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) {
    if (warning.empty()) continue;
    printHeader(out);
    std::fprintf(out, "%s\n", warning.c_str());
  }
}
