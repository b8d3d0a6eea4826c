#include "build/input_sniff.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <cstring>

#include "parsers/bgp_parser.h"
#include "parsers/table_parser.h"

namespace {

std::uint32_t bigEndian(const std::string& block, std::size_t at, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) {
    value = (value << 8) | static_cast<unsigned char>(block[at + i]);
  }
  return value;
}

// Binary: more than one byte in ten a NUL or another control character that text does not
// hold (a stray NUL in a text file is a bad line, not another format).
bool looksBinary(const std::string& block) {
  std::size_t control = 0;
  for (const char c : block) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte == 0 || (byte < 0x20 && std::strchr("\t\n\r\f\v", c) == nullptr) || byte == 0x7f) {
      ++control;
    }
  }
  return control * 10 > block.size();
}

// The first lines that hold more than blanks and are no '#' comment, up to `most` of them.
template <typename Visit>
void forDataLines(const std::string& block, int most, Visit visit) {
  std::size_t start = 0;
  int seen = 0;
  while (start < block.size() && seen < most) {
    std::size_t end = block.find('\n', start);
    // A last line cut by the end of the block is not judged.
    if (end == std::string::npos) return;
    std::string line = block.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    ++seen;
    visit(line);
  }
}

bool startsWith(const std::string& line, const char* prefix) {
  return line.compare(0, std::strlen(prefix), prefix) == 0;
}

// A route line of MRT route text: with its type field, or the elem lines of the stream readers
// ("R|R|1277971140.000000|ris|rrc00|...", also updates U|A and withdrawals U|W).
bool isRouteTextLine(const std::string& line) {
  for (const char* prefix : {"TABLE_DUMP2|", "TABLE_DUMP|", "BGP4MP|", "BGP4MP_ET|", "R|R|", "U|A|",
                             "U|W|", "U|S|", "R|B|", "R|E|"}) {
    if (startsWith(line, prefix)) return true;
  }
  return false;
}

// "<a>|<b>|<rel>" with a relationship of -1, 0, 1 or 2 and anything after a further '|'.
bool isAsrelLine(const std::string& line) {
  std::size_t at = 0;
  for (int field = 0; field < 2; ++field) {
    const std::size_t begin = at;
    while (at < line.size() &&
           (std::isdigit(static_cast<unsigned char>(line[at])) || line[at] == '.')) {
      ++at;
    }
    if (at == begin || at == line.size() || line[at] != '|') return false;
    ++at;
  }
  const std::string rest = line.substr(at, line.find('|', at) - at);
  return rest == "-1" || rest == "0" || rest == "1" || rest == "2";
}

// True when at least one data line was seen and every one of them passes `test`.
template <typename Test>
bool allDataLines(const std::string& block, Test test) {
  int seen = 0;
  bool all = true;
  forDataLines(block, 20, [&](const std::string& line) {
    ++seen;
    all = all && test(line);
  });
  return seen > 0 && all;
}

}  // namespace

bool startsAsMRT(const std::string& block) {
  if (block.size() < 12) return false;
  // From 1990 on: earlier times are no routing data, and text starts with larger numbers.
  const std::uint32_t time = bigEndian(block, 0, 4);
  const std::uint32_t type = bigEndian(block, 4, 2);
  const std::uint32_t subtype = bigEndian(block, 6, 2);
  const std::uint32_t length = bigEndian(block, 8, 4);
  if (time < 631152000u || length > (1u << 24)) return false;
  switch (type) {
    case 11:
    case 12:
    case 13:
    case 16:
    case 17:
    case 32:
    case 33:
    case 48:
    case 49:
      return subtype < 16;
    default:
      return false;
  }
}

SniffedKind sniffKind(const std::string& block) {
  if (startsAsMRT(block) || looksBinary(block)) return SniffedKind::mrt;
  if (allDataLines(block, isRouteTextLine)) return SniffedKind::routeText;
  if (allDataLines(block, isAsrelLine)) return SniffedKind::asrelText;
  return SniffedKind::other;
}

namespace {

// The lines of the first `lines` that `parser` turns into records; false when the file cannot
// be opened or read, which leaves the check without an answer.
bool recordsInFirstLines(Parser& parser, const char* name, unsigned long lines,
                         unsigned long& records) {
  parser.setWidth(ASWidth{true});
  records = 0;
  if (!parser.openFile(name)) return false;
  while (parser.readLines() < lines && parser.nextLine() == Parser::lineReady) {
    if (parser.parseLine() == Parser::parseOk) ++records;
  }
  const bool read = parser.readError() == 0;
  parser.closeFile();
  return read;
}

}  // namespace

bool tableReaderTakesMore(const char* name) {
  struct stat status;
  if (stat(name, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  constexpr unsigned long kLines = 2000;
  BgpParser dump;
  TableParser table;
  unsigned long dumpRecords = 0, tableRecords = 0;
  if (!recordsInFirstLines(dump, name, kLines, dumpRecords) ||
      !recordsInFirstLines(table, name, kLines, tableRecords)) {
    return false;
  }
  // The table reader passes over the routes of the other family and of no IP network, yet knows
  // them for routes: they speak for t whatever the run's family.
  const ReadStats& passedOver = table.stats();
  for (int i = 0; i < passedOver.reasonCount(); ++i) {
    const char* reason = passedOver.reason(i);
    if (std::strcmp(reason, kIPv6Route) == 0 || std::strcmp(reason, TableParser::otherNetwork) == 0)
      tableRecords += passedOver.count(i);
  }
  // A classic table gives both readers the same routes; a few more for t is no reason to warn.
  return tableRecords > 2 * dumpRecords;
}
