// Feeds arbitrary bytes as pipe-separated route text to its parser in both readings: every
// route line in file order, and the RIB rows in the merge's order. Half the inputs run as with
// --as32, some with a time window, some as an IPv6 run (a bit of the third byte), and every other
// input sorts with room for a few routes only, so that runs are spilled and merged. The routes of
// the second reading must be of the run's family and come in ascending order. The scratch input
// file is removed at exit (fuzz_input_file.h), and a spilled sort's file is unnamed from the start.
#include <cstdlib>

#include "fuzz_input_file.h"
#include "ip/ip_prefix.h"
#include "parsers/pipe_parser.h"

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
    unsigned long long lastKey = 0;
    IPv6Prefix last6;
    bool first6 = true;  // no IPv6 prefix comes before all others: ::/128 is the least
    while (parser.nextLine() == Parser::lineReady) {
      parser.currentLine();
      if (parser.parseLine() != Parser::parseOk || !routeMode) continue;
      if (parser.data.family != family) abort();
      if (family == AddressFamily::ipv6) {
        if (!first6 && parser.data.network6.before(last6)) abort();
        last6 = parser.data.network6;
        first6 = false;
        continue;
      }
      const IPPrefix prefix(parser.data.network, *parser.data.networkMask);
      const unsigned long long key =
          (static_cast<unsigned long long>(prefix.address().value()) << 6) |
          static_cast<unsigned long long>(32 - prefix.netmask().brief());
      if (key < lastKey) abort();
      lastKey = key;
    }
    parser.closeFile();
  }
  return 0;
}
