// What one parsed line of a file that is not a BGP dump adds to the graph: nodes, edges,
// directions and covering, each asked for by a content letter. Used by buildGraph.
#ifndef ZELGRIN_BUILD_LINE_HANDLERS_H
#define ZELGRIN_BUILD_LINE_HANDLERS_H

#include <cstddef>

#include "build/edge_lookup.h"
#include "parsers/path_parser.h"
#include "parsers/route.h"
#include "parsers/sat_parser.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

// Each handler runs the contents of `contents` in the order n, e, d, c, i on one record.
void handlePathLine(EdgeLookup& edges, PathParser::ParsedData& line, int contents);
void handleVantageLine(EdgeLookup& edges, const VantageParser::ParsedData& line, int contents);
// A relationship of either relationship format: `from` the customer of `to`, or two peers.
void handleRelationship(EdgeLookup& edges, ASNumber from, ASNumber to, bool peering, int contents);
// An AS path taken as one line of a path list: the ASes in order, repetitions kept.
void handleASPath(EdgeLookup& edges, const ASNumber* path, std::size_t length, int contents);
// A route's AS path taken as one line of a path list: `vantage` (0: none) in front unless the
// path starts with it; the members of AS sets and confederation segments left out, as a path
// list leaves out its private segments.
void handleRoutePath(EdgeLookup& edges, List<ASItem>& path, ASNumber vantage, int contents);
// The ASes handleRoutePath takes as a path list line, written to `ases`; returns their number.
// REQUIRES: room for path.len() + 1 numbers.
std::size_t routePathASes(List<ASItem>& path, ASNumber vantage, ASNumber* ases);
void handleUnknownLine(EdgeLookup& edges, const UnknownParser::ParsedData& line, int contents);
void handleSatLine(EdgeLookup& edges, const SatParser::ParsedData& line, int contents);

#endif  // ZELGRIN_BUILD_LINE_HANDLERS_H
