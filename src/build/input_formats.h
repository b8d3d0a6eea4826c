// The input formats and the contents the program can take from them, each described once: the
// command line checks a --file: option against these rows, graph construction creates the
// parser and runs the line handler of a row. A new format is one row here and its parser.
#ifndef ZELGRIN_BUILD_INPUT_FORMATS_H
#define ZELGRIN_BUILD_INPUT_FORMATS_H

#include <cstdint>

#include "build/edge_lookup.h"
#include "parsers/bgp_parser.h"
#include "parsers/parser.h"

// Input formats, selected by the format letter of a --file: option.
enum file_type {
  bgpFile = 0,      // b or B: router BGP table dump
  satFile = 1,      // s: path-saturation output
  vantageFile = 2,  // v: relationship file
  pathFile = 3,     // p: plain list of AS paths
  unknownFile = 4   // u: list of AS couples that could not be oriented
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

// One input format.
struct InputFormat {
  char letter;              // as in --file:
  file_type type;
  bool takesVantage;        // the option is followed by a vantage AS number, then the file name
  bool mergedByPrefix;      // read in the second pass, all such files merged by prefix
  int32_t allowedContents;  // the contents this format can give
  const char* refusal;      // the message when other contents are asked for
  Parser* (*makeParser)();
  // First pass: what one parsed record adds to the graph, for the given contents.
  void (*handleLine)(EdgeLookup& edges, Parser& parser, int32_t contents);
  // Second pass: the route a parsed record holds.
  bgpParser::parsed_data& (*routeOf)(Parser& parser);
};

// The row of a format letter, or null when `letter` is none.
const InputFormat* findFormat(char letter);
// The row of a format type (for b and B, the row of b).
const InputFormat& formatOf(file_type type);

#endif  // ZELGRIN_BUILD_INPUT_FORMATS_H
