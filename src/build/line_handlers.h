// What one parsed line of a file that is not a BGP dump adds to the graph: nodes, edges,
// directions and covering, each asked for by a content letter. Used by buildGraph.
#pragma once

#include "build/edge_lookup.h"
#include "parsers/path_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

// Each handler runs the contents of `contents` in the order n, e, d, c, i on one record.
void handlePathLine(EdgeLookup& edges, pathParser::parsed_data& line, int contents);
void handleVantageLine(EdgeLookup& edges, const vantageParser::parsed_data& line, int contents);
void handleUnknownLine(EdgeLookup& edges, const unknownParser::parsed_data& line, int contents);
void handleSatLine(EdgeLookup& edges, const satParser::parsed_data& line, int contents);
