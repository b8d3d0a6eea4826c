// The input formats and the contents the program can take from them, each described once: the
// command line checks a --file: option against these rows, graph construction creates the
// parser and runs the line handler of a row. A new format is one row here and its parser.
#ifndef ZELGRIN_BUILD_INPUT_FORMATS_H
#define ZELGRIN_BUILD_INPUT_FORMATS_H

#include <cstdint>
#include <vector>

#include "build/edge_lookup.h"
#include "parsers/parser.h"
#include "parsers/route.h"

// Input formats, selected by the format letter of a --file: option.
enum FileType {
  bgpFile = 0,      // b or B: router BGP table dump
  satFile = 1,      // s: path-saturation output
  vantageFile = 2,  // v: relationship file
  pathFile = 3,     // p: plain list of AS paths
  unknownFile = 4,  // u: list of AS couples that could not be oriented
  tableFile = 5,    // t or T: router table as today's platforms print it
  asrelFile = 6,    // r: relationship file as published
  mrtFile = 7,      // m: MRT routing data (RIB dumps and BGP updates)
  pipeFile = 8,     // l: pipe-separated route text, one route a line, as MRT decoders print
};

// Content flags: what to take from an input file (bits of an int32_t set).
constexpr int32_t getNodes = 1;         // n
constexpr int32_t getEdges = 2;         // e
constexpr int32_t getDirections = 4;    // d
constexpr int32_t getPathCovering = 8;  // c
constexpr int32_t getIPCovering = 16;   // i

// One content letter of a --file: option, in reading order n, e, d, c, i.
struct ContentLetter {
  char letter;
  int32_t flag;
  const char* duplicate;  // message when the letter is given twice in one option
  const char* stepWord;   // how a step announcement names it (null: never named)
};
extern const ContentLetter contentLetters[5];

// The row of a content letter, or null when `letter` is none.
const ContentLetter* findContent(char letter);

// One input format. A format that gives routes (makeRouteParser) has its IP covering read in the
// second pass, where all such files are merged by prefix; a format that also has a line handler
// gives its other contents in the first pass, so one file may be read in both.
struct InputFormat {
  char letter;  // as in --file:
  FileType type;
  bool takesVantage;  // the option is followed by a vantage AS number, then the file name
  // A file from which nothing at all could be used is worth a warning: the readers of today's
  // formats pass over much of what they meet, and an empty result needs saying. The other
  // formats warn only about a file that held lines: an empty one is their reader's old habit.
  bool warnWhenUnused;
  const char* readUnit;     // what a report counts as read: "lines", or records of a binary file
  int32_t allowedContents;  // the contents this format can give
  const char* refusal;      // the message when other contents are asked for
  // First pass: the parser, and what one parsed record adds to the graph for the given contents
  // (`vantage` 0 when the file has none). Null handler: the format gives nothing there.
  Parser* (*makeParser)();
  void (*handleLine)(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber vantage);
  // Second pass: the parser that hands out routes in ascending prefix order, and the route a
  // parsed record holds. Null: the format's IP covering, if any, comes in the first pass.
  Parser* (*makeRouteParser)();
  Route& (*routeOf)(Parser& parser);
  // First pass, formats whose every record is an AS path: appends to `ases` the path the line
  // handler takes from the parsed record (with the file's vantage), so that reader threads can
  // parse ahead while the graph takes the paths in order (handleASPath then does what
  // handleLine does). Null for the others.
  void (*pathOf)(Parser& parser, ASNumber vantage, std::vector<ASNumber>& ases);
};

// The row of a format letter, or null when `letter` is none.
const InputFormat* findFormat(char letter);
// The row of a format type (for b and B, the row of b).
const InputFormat& formatOf(FileType type);

// True when a file of this format asked for these contents is read in the merge of the second
// pass (then its contents are IP covering alone).
inline bool readInMerge(const InputFormat& format, int32_t contents) {
  return format.makeRouteParser != nullptr && contents == getIPCovering;
}

// True when the contents ask for a reading in each pass: IP covering from the merge and more.
inline bool readInBothPasses(const InputFormat& format, int32_t contents) {
  return format.makeRouteParser != nullptr && format.handleLine != nullptr &&
         (contents & getIPCovering) != 0 && (contents & ~getIPCovering) != 0;
}

#endif  // ZELGRIN_BUILD_INPUT_FORMATS_H
