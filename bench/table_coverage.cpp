// Reads router tables with the modern table reader (letter t) and with the classic dump reader
// (letter b) and prints, per file, what each made of it. Used by bench/table_coverage.py.
// Usage: table_coverage [--as32] [--ipv6] FILE...
//   --as32   a 32-bit run;  --ipv6   the IPv6 run (IPv6 routes) instead of the IPv4 one
// Output, one line per file, tab-separated:
//   FILE  t-used  t-reason=count ...  |  b-used  b-failed
#include <cstdio>
#include <cstring>

#include "asgraph/as_number.h"
#include "parsers/bgp_parser.h"
#include "parsers/table_parser.h"

namespace {

void readTable(const char* name, AddressFamily family, ASWidth width) {
  TableParser table;
  table.setWidth(width);
  table.setFamily(family);
  unsigned long used = 0;
  if (table.openFile(name)) {
    while (table.nextLine() == 0) {
      if (table.parseLine() == 0) ++used;
    }
  }
  std::printf("%s\t%lu", name, used);
  const ReadStats& stats = table.stats();
  for (int i = 0; i < stats.reasonCount(); ++i) {
    std::printf("\t%s=%llu", stats.reason(i), static_cast<unsigned long long>(stats.count(i)));
  }
  table.closeFile();
}

void readClassic(const char* name) {
  BgpParser classic;
  unsigned long used = 0;
  unsigned long failed = 0;
  if (classic.openFile(name)) {
    while (classic.nextLine() == 0) {
      if (classic.parseLine() == 0) {
        ++used;
      } else {
        ++failed;
      }
    }
  }
  std::printf("\t|\t%lu\t%lu\n", used, failed);
  classic.closeFile();
}

}  // namespace

int main(int argc, char** argv) {
  AddressFamily family = AddressFamily::ipv4;
  ASWidth width;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--as32") == 0) {
      width.wide = true;
    } else if (std::strcmp(argv[i], "--ipv6") == 0) {
      family = AddressFamily::ipv6;
    } else {
      readTable(argv[i], family, width);
      // The classic reader knows 16-bit AS numbers only.
      readClassic(argv[i]);
    }
  }
  return 0;
}
