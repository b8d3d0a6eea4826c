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

// The records of a reading skipped under `reason`.
unsigned long long skippedFor(const InputReport& reading, const char* reason) {
  const ReadStats& stats = reading.stats;
  for (int i = 0; i < stats.reasonCount(); ++i) {
    if (std::strcmp(stats.reason(i), reason) == 0) return stats.count(i);
  }
  return 0;
}

// A file that gave nothing because all its routes are of the other family: most likely the
// graph of that family was meant.
std::string familyWarning(const InputReport& reading, AddressFamily family,
                          const std::string& quotedName) {
  if (reading.stats.used() != 0) return std::string();
  const unsigned long long other = skippedFor(reading, otherFamilyReason(family));
  if (other == 0) return std::string();
  if (family == AddressFamily::ipv4) {
    return "Warning: " + quotedName + " holds only IPv6 routes (" + std::to_string(other) +
           " passed over): use --ipv6 for the IPv6 graph";
  }
  return "Warning: " + quotedName + " holds no IPv6 route (" + std::to_string(other) +
         " IPv4 routes passed over): the IPv4 graph is built without --ipv6";
}

}  // namespace

std::vector<std::string> letterWarnings(const std::vector<InputFile>& inputs,
                                        const BuildReport& report, bool warnWidth,
                                        AddressFamily family) {
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
    const InputReport& reading = report.entry(static_cast<int>(k));
    const unsigned long long refused = warnWidth ? skippedFor(reading, kAboveAS16Reason) : 0;
    if (refused == 0) {
      warnings[k] = familyWarning(reading, family, quotedName);
      continue;
    }
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
