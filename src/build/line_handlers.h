// What one parsed line of a file that is not a BGP dump adds to the graph: nodes, edges,
// directions and covering, each asked for by a content letter. Used by buildGraph.
#pragma once

#include "asgraph/as_graph.h"
#include "parsers/path_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

// Each handler runs the contents of `contents` in the order n, e, d, c, i on one record.
void handlePathLine(ASGraph& graph, pathParser::parsed_data& line, int contents);
void handleVantageLine(ASGraph& graph, const vantageParser::parsed_data& line, int contents);
void handleUnknownLine(ASGraph& graph, const unknownParser::parsed_data& line, int contents);
void handleSatLine(ASGraph& graph, const satParser::parsed_data& line, int contents);
