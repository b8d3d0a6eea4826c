// Feeds arbitrary bytes as pipe-separated route text to its parser in both readings: every
// route line in file order, and the RIB rows in the merge's order. Half the inputs run as with
// --as32, some with a time window, some as an IPv6 run (a bit of the third byte), and every other
// input sorts with room for a few routes only, so that runs are spilled and merged. The routes of
// the second reading must be of the run's family and come in ascending order. The scratch input
// file is removed at exit (fuzz_input_file.h), and a spilled sort's file is unnamed from the start.
#include <cstdlib>

#include "fuzz_input_file.h"
#include "parsers/pipe_parser.h"
#include "route_order_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (looksCompressed(bytes, size)) return 0;
  const char* path = writeFuzzInput(bytes, size);
  if (path == nullptr) return 0;
  const AddressFamily family =
      size > 2 && (bytes[2] & 4) != 0 ? AddressFamily::ipv6 : AddressFamily::ipv4;
  for (bool routeMode : {false, true}) {
    PipeParser parser;
    parser.setWidth(widthFrom(bytes, size));
    parser.setFamily(family);
    parser.setRouteMode(routeMode);
    if (size > 1 && (bytes[1] & 1) != 0) parser.setSortMemory(256);
    if (size > 1 && (bytes[1] & 2) != 0) parser.setTimeWindow(TimeWindow{true, 100, 200});
    if (!parser.openFile(path)) return 0;
    RouteOrderCheck order(family);
    while (parser.nextLine() == Parser::lineReady) {
      parser.currentLine();
      if (parser.parseLine() != Parser::parseOk || !routeMode) continue;
      order.next(parser.data);
    }
    parser.closeFile();
  }
  return 0;
}
