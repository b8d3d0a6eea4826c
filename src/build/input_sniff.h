// What the first block of an input file looks like, to tell the user when a file was most likely
// given the wrong format letter. Cheap guesses on a few kilobytes, never a reason to read a file
// otherwise: the file is read by its letter all the same.
#ifndef ZELGRIN_BUILD_INPUT_SNIFF_H
#define ZELGRIN_BUILD_INPUT_SNIFF_H

#include <string>

enum class SniffedKind {
  other,      // nothing recognised
  mrt,        // a plausible MRT record header, or binary bytes
  routeText,  // one route a line, fields split by '|' ("TABLE_DUMP2|1277971140|B|...")
  asrelText,  // relationships as published: "<a>|<b>|<rel>" lines ("701|7018|0")
};

// The kind of the input whose decoded first bytes are `block`.
SniffedKind sniffKind(const std::string& block);

// True when the text of `block` starts as an MRT record: a timestamp, a known type and subtype
// and a length that fits one record. Exposed for the tests.
bool startsAsMRT(const std::string& block);

// True when the router table reader (t) takes more than twice the routes of the first lines of
// the regular file `name` that the BGP dump reader (b) takes: a table of today's routers given
// as a dump. Reads at most a few thousand lines of it with each reader; false when either
// reading fails.
bool tableReaderTakesMore(const char* name);

#endif  // ZELGRIN_BUILD_INPUT_SNIFF_H
