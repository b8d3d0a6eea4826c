// Feeds arbitrary bytes as an MRT file to the MRT parser in both of its readings: every entry in
// file order, and the RIB entries in the merge's order. Half the inputs run as with --as32, and
// a bit of the second byte chooses the family (IPv4 or IPv6 run). The routes of the second reading
// must be of the run's family and come in ascending order, whether the sort holds them in memory or
// spills them to a temporary file: every other input sorts with room for a few routes only, so
// that runs are written and merged.
#include <cstdlib>

#include "fuzz_input_file.h"
#include "parsers/mrt_parser.h"
#include "route_order_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (looksCompressed(bytes, size)) return 0;
  const char* path = writeFuzzInput(bytes, size);
  if (path == nullptr) return 0;
  const AddressFamily family =
      size > 1 && (bytes[1] & 0x40) != 0 ? AddressFamily::ipv6 : AddressFamily::ipv4;
  for (bool routeMode : {false, true}) {
    MrtParser parser;
    parser.setWidth(widthFrom(bytes, size));
    parser.setFamily(family);
    parser.setRouteMode(routeMode);
    if (size > 1 && (bytes[1] & 1) != 0) parser.setSortMemory(256);
    if (!parser.openFile(path)) return 0;
    RouteOrderCheck order(family);
    while (parser.nextLine() == Parser::lineReady) {
      parser.currentLine();
      if (parser.parseLine() != Parser::parseOk) continue;
      if (!routeMode) {
        if (parser.entry.family != family) abort();
        continue;
      }
      order.next(parser.data);
    }
    parser.closeFile();
  }
  return 0;
}
