// Feeds arbitrary bytes as a router table dump to BgpParser, parses every delivered line (twice,
// as the dump merge does with a line it did not choose) and checks the record's invariants.
#include "fuzz_input_file.h"
#include "parsers/bgp_parser.h"

namespace {

void checkRecord(BgpParser& parser, ASWidth width) {
  const Route& d = parser.data;
  if (d.networkMask && (d.networkMask->brief() < 1 || d.networkMask->brief() > 32)) abort();
  if (d.status > 127 || d.origin > 7) abort();
  if (d.localPref && (*d.localPref < 0 || *d.localPref > 65535)) abort();
  if (d.routeWeight && (*d.routeWeight < 0 || *d.routeWeight > 65535)) abort();
  List<ASItem>& path = parser.data.path;
  bool more = !path.isEmpty();
  for (path.goToFirst(); more; more = path.next()) {
    const ASItem item = path.current();
    if (item.AS == 0 || item.AS > width.largest()) abort();
    if ((item.flags & ~ASItem::setFlag) != 0) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (looksCompressed(bytes, size)) return 0;
  const char* path = writeFuzzInput(bytes, size);
  if (path == nullptr) return 0;

  const ASWidth width = widthFrom(bytes, size);
  BgpParser parser;
  parser.setWidth(width);
  if (!parser.openFile(path)) return 0;
  while (parser.nextLine() == 0) {
    parser.currentLine();
    for (int pass = 0; pass < 2; ++pass) {
      const int code = parser.parseLine();
      if (code < 0 || code > 4) abort();
      if ((code == 0) != (parser.errReason()[0] == '\0')) abort();
      if (code == 0) checkRecord(parser, width);
    }
  }
  if (parser.nextLine() != 1 || parser.readError() != 0 || parser.filePos() != size) abort();
  parser.closeFile();
  return 0;
}
