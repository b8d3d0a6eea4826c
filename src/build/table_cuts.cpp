#include "build/table_cuts.h"

#include <sys/stat.h>

#include <utility>

#include "build/file_parts.h"
#include "build/open_input.h"

namespace {

// Below this many bytes the lines are read one by one rather than halved again.
constexpr unsigned long long kScanWindow = 16 * 1024;
// A scan reads a few lines where it starts: in blocks of this size, not the reading's large
// ones, so that the many scans of finding the cuts read little.
constexpr std::size_t kScanBlock = 4 * 1024;

// One dump as the search for its cut sees it: its table's columns, where its first route line
// starts and its size.
struct Table {
  const char* path = nullptr;
  BgpParser::Columns columns{};
  unsigned long long firstRoute = 0;
  unsigned long long size = 0;
};

// The size of a dump that is a regular file, read by name.
bool sizeTable(const InputFile& dump, Table& table) {
  if (dump.type != bgpFile || isStdinName(dump.name.c_str())) return false;
  struct stat status;
  if (stat(dump.openName(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  table.path = dump.openName();
  table.size = static_cast<unsigned long long>(status.st_size);
  return true;
}

// Its columns and first route, when it is plain text.
bool openTable(Table& table) {
  if (!isPlainFile(table.path)) return false;
  BgpParser parser;
  if (!parser.openFile(table.path) || parser.nextLine() != Parser::lineReady) return false;
  table.columns = parser.columns();
  table.firstRoute = parser.lineStart();
  return true;
}

// A reading of the table from the first line that starts at or after `from`.
class TableScan {
 public:
  TableScan(const Table& table, unsigned long long from) {
    parser_.setBlockSize(kScanBlock);
    ok_ = parser_.openFile(table.path) && parser_.continueTable(table.columns, from, ~0ull);
  }
  // The next route line that names its network: where it starts, and the network's first
  // address.
  bool next(unsigned long long& at, std::uint32_t& address) {
    IPPrefix prefix;
    if (!ok_ || !parser_.nextNetworkLine(at, prefix)) return false;
    address = prefix.address().value();
    return true;
  }

 private:
  BgpParser parser_;
  bool ok_ = false;
};

// The start of the first route line naming a network at or above `boundary`, or the table's
// size when there is none, provided the networks ascend: halving the table from `from` (a
// route line's start, the cut of a lower boundary) down to a window, then reading the window's
// lines.
unsigned long long cutAt(const Table& table, std::uint32_t boundary, unsigned long long from) {
  unsigned long long low = from;         // the lines named before it are below
  unsigned long long high = table.size;  // the cut lies before it, or at `found`
  unsigned long long found = table.size;
  unsigned long long at = 0;
  std::uint32_t address = 0;
  while (high - low > kScanWindow) {
    const unsigned long long middle = low + (high - low) / 2;
    TableScan scan(table, middle);
    const bool named = scan.next(at, address);
    if (named && address < boundary) {
      // Past `high` only when the networks do not ascend; the merge will find out.
      low = at + 1 < high ? at + 1 : high;
      continue;
    }
    if (named && at < found) found = at;
    high = middle;
  }
  TableScan scan(table, low);
  while (scan.next(at, address) && at < found) {
    if (address >= boundary) return at;
  }
  return found;
}

}  // namespace

std::optional<TableCuts> cutTables(const std::vector<const InputFile*>& dumps,
                                   unsigned long long rangeBytes, std::size_t mostRanges) {
  std::vector<Table> tables(dumps.size());
  unsigned long long total = 0;
  std::size_t largest = 0;
  // Sizes first: most runs' dumps are too small to be cut, and need not be opened for it.
  for (std::size_t k = 0; k < dumps.size(); ++k) {
    if (!sizeTable(*dumps[k], tables[k])) return std::nullopt;
    total += tables[k].size;
    if (tables[k].size > tables[largest].size) largest = k;
  }
  const unsigned long long wanted = rangeBytes > 0 ? total / rangeBytes : mostRanges;
  const std::size_t ranges = wanted < mostRanges ? static_cast<std::size_t>(wanted) : mostRanges;
  if (dumps.empty() || ranges < 2) return std::nullopt;
  for (Table& table : tables) {
    if (!openTable(table)) return std::nullopt;
  }
  // The ranges meet at the /8s that hold the networks at steps through the largest table: only
  // networks shorter than /8 can span such an address, and tables hardly ever hold one. The
  // steps shrink toward the end, so that the ranges the threads take last, whose sizes decide
  // how long one waits for the other, are short.
  const Table& guide = tables[largest];
  TableCuts cuts;
  for (std::size_t i = 1; i < ranges; ++i) {
    const unsigned long long span = guide.size - guide.firstRoute;
    const unsigned long long left = ranges - i;
    TableScan step(guide, guide.firstRoute + span - span * left * left / (ranges * ranges));
    unsigned long long at = 0;
    std::uint32_t address = 0;
    if (!step.next(at, address)) break;
    const std::uint32_t boundary = address & 0xFF000000u;
    if (boundary != 0 && (cuts.boundaries.empty() || boundary > cuts.boundaries.back())) {
      cuts.boundaries.push_back(boundary);
    }
  }
  if (cuts.boundaries.empty()) return std::nullopt;
  for (std::size_t b = 0; b < cuts.boundaries.size(); ++b) {
    std::vector<unsigned long long> at;
    for (std::size_t k = 0; k < tables.size(); ++k) {
      const unsigned long long from = b > 0 ? cuts.at[b - 1][k] : tables[k].firstRoute;
      at.push_back(cutAt(tables[k], cuts.boundaries[b], from));
    }
    cuts.at.push_back(std::move(at));
  }
  for (const Table& table : tables) cuts.columns.push_back(table.columns);
  return cuts;
}
