// One input file of a run as the command line gave it, and the options graph construction
// takes. A run's inputs are one list in reading order: the files read one after the other come
// first, the files merged by prefix in the second pass (readInMerge) last.
#ifndef ZELGRIN_BUILD_INPUT_FILE_H
#define ZELGRIN_BUILD_INPUT_FILE_H

#include <cstdint>
#include <string>

#include "asgraph/as_number.h"
#include "build/input_formats.h"
#include "ip/address_family.h"
#include "ip/address_ranges.h"
#include "parsers/time_window.h"

struct InputFile {
  std::string name;          // "-" is standard input
  FileType type = pathFile;  // the format letter of its --file: option
  int32_t contents = 0;      // content flags: what to take from it
  ASNumber vantage = 0;      // vantage AS of a B dump, 0 otherwise
  // The entry reads again, in the merge of the second pass, the file of an earlier entry (a
  // router table or MRT file asked for IP covering and more): the graph records its name once.
  bool rereads = false;
  // A temporary copy to open instead of the name (an input read twice that cannot be opened
  // twice, such as a pipe); empty: the name itself. Messages always show the name.
  std::string copy;

  const char* openName() const { return copy.empty() ? name.c_str() : copy.c_str(); }
};

// True when the entry is read in the merge of the second pass.
inline bool readInMerge(const InputFile& input) {
  return readInMerge(formatOf(input.type), input.contents);
}

// How graph construction shows its work.
struct BuildOptions {
  ASWidth width;          // the AS numbers the readers accept
  bool progress = false;  // announce each step and draw the progress bar on standard output
  bool verbose = false;   // report each line that does not parse on standard error
  // The dumps' IP covering counts each address once per way, whatever the nesting of prefixes.
  bool exactCovering = false;
  // With exactCovering: only the addresses of these ranges count; null: all addresses.
  const AddressRanges* ipRanges = nullptr;
  // --no-self-loops: an AS repeated in a path (prepending) makes no edge to itself.
  bool noSelfLoops = false;
  // --ipv6: the readers that know a route's family take IPv6 routes only, and the IP covering
  // counts /64 units; by default IPv4 routes only.
  AddressFamily family = AddressFamily::ipv4;
  // The MRT and pipe text readers pass over the records stamped outside it.
  TimeWindow timeWindow;
  // Threads that may read inputs at once, the main thread included; 1: all in the main thread.
  // The graph, messages and counts are the same for every value.
  int threads = 1;
  // With more than one thread, a plain path list is read in parts of at least this many bytes
  // (see file_parts.h), and router tables in plain files of twice as many together are merged
  // in ranges of about as many (see table_cuts.h); tests make it small.
  unsigned long long minPartBytes = 16ull << 20;
};

#endif  // ZELGRIN_BUILD_INPUT_FILE_H
