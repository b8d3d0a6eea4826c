// Feeds arbitrary bytes as a router table to TableParser and checks every delivered record and
// the counts. The first byte picks the run: bit 0 a 32-bit run, bit 1 the IPv6 family. Both
// passes of graph construction use the same reader, so one run stands for both.
#include <cstring>

#include "asgraph/as_number.h"
#include "fuzz_input_file.h"
#include "parsers/table_parser.h"

namespace {

// The host bits of an IPv6 network are clear, as the merge's order and the covering expect.
bool hostBitsClear(const IPv6Prefix& p) {
  if (p.length > 128) return false;
  if (p.length <= 64) return p.low == 0 && (p.length == 64 || (p.high << p.length) == 0);
  return p.length == 128 || (p.low << (p.length - 64)) == 0;
}

void checkRecord(TableParser& parser, AddressFamily family, ASWidth width) {
  const Route& d = parser.data;
  if (d.family != family) abort();
  if (family == AddressFamily::ipv6 && !hostBitsClear(d.network6)) abort();
  if (d.networkMask && (d.networkMask->brief() < 0 || d.networkMask->brief() > 32)) abort();
  if (d.status > 127 || d.origin > 7) abort();
  if (d.localPref && (*d.localPref < 0 || *d.localPref > 65535)) abort();
  if (d.routeWeight && (*d.routeWeight < 0 || *d.routeWeight > 65535)) abort();
  List<ASItem>& path = parser.data.path;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) {
    const ASItem item = path.current();
    if (item.AS == 0 || item.AS > width.largest()) abort();
    if ((item.flags & ~(ASItem::setFlag | ASItem::confedFlag)) != 0) abort();
  }
}

void checkCounts(const ReadStats& stats, AddressFamily family) {
  const char* known[] = {TableParser::vpnRoute,     otherFamilyReason(family),
                         TableParser::otherNetwork, TableParser::malformedRoute,
                         TableParser::nulLine,      "AS number above 65535 (use --as32)"};
  for (int i = 0; i < stats.reasonCount(); ++i) {
    bool found = false;
    for (const char* reason : known) found = found || std::strcmp(stats.reason(i), reason) == 0;
    if (!found || stats.count(i) == 0) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0 || looksCompressed(bytes + 1, size - 1)) return 0;
  const bool wide = (bytes[0] & 1) != 0;
  const AddressFamily family = (bytes[0] & 2) != 0 ? AddressFamily::ipv6 : AddressFamily::ipv4;
  const char* path = writeFuzzInput(bytes + 1, size - 1);
  if (path == nullptr) return 0;

  TableParser parser;
  parser.setWidth(ASWidth{wide});
  parser.setFamily(family);
  if (!parser.openFile(path)) return 0;
  while (parser.nextLine() == 0) {
    parser.currentLine();
    const int first = parser.parseLine();
    // The dump merge may parse a line it did not choose again: same outcome.
    if (parser.parseLine() != first) abort();
    if (first != 0 && first != 3 && first != 4) abort();
    if ((first == 0) != (parser.errReason()[0] == '\0')) abort();
    if (first == 0) checkRecord(parser, family, ASWidth{wide});
  }
  if (parser.nextLine() != 1 || parser.readError() != 0 || parser.filePos() != size - 1) abort();
  checkCounts(parser.stats(), family);
  parser.closeFile();
  return 0;
}
