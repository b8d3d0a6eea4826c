#include "build/input_formats.h"

#include "build/line_handlers.h"
#include "parsers/asrel_parser.h"
#include "parsers/bgp_parser.h"
#include "parsers/mrt_parser.h"
#include "parsers/path_parser.h"
#include "parsers/pipe_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/table_parser.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

namespace {

constexpr int32_t kNodesEdges = getNodes | getEdges;
constexpr int32_t kStructure = getNodes | getEdges | getDirections;
constexpr int32_t kRouteContents = getNodes | getEdges | getPathCovering | getIPCovering;
constexpr int32_t kAllContents = kStructure | getPathCovering | getIPCovering;

template <class ParserType>
Parser* make() {
  return new ParserType;
}

// The MRT reader of the second pass hands out IPv4 RIB entries in the merge's order.
Parser* makeMrtRouteParser() {
  MrtParser* parser = new MrtParser;
  parser->setRouteMode(true);
  return parser;
}

// The pipe text reader of the second pass hands out IPv4 RIB entries in the merge's order.
Parser* makePipeRouteParser() {
  PipeParser* parser = new PipeParser;
  parser->setRouteMode(true);
  return parser;
}

// Each handler knows the record of its own parser.
void pathLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  handlePathLine(edges, static_cast<PathParser&>(parser).data, contents);
}
void vantageLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  handleVantageLine(edges, static_cast<VantageParser&>(parser).data, contents);
}
void unknownLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  handleUnknownLine(edges, static_cast<UnknownParser&>(parser).data, contents);
}
void satLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  handleSatLine(edges, static_cast<SatParser&>(parser).data, contents);
}
void asrelLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  const AsrelParser::ParsedData& line = static_cast<AsrelParser&>(parser).data;
  handleRelationship(edges, line.from, line.to, line.peering, contents);
}
void tableLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber vantage) {
  handleRoutePath(edges, static_cast<TableParser&>(parser).data.path, vantage, contents);
}
void mrtLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  const std::vector<ASNumber>& path = static_cast<MrtParser&>(parser).entry.path;
  handleASPath(edges, path.data(), path.size(), contents);
}
void pipeLine(EdgeLookup& edges, Parser& parser, int32_t contents, ASNumber) {
  const std::vector<ASNumber>& path = static_cast<PipeParser&>(parser).path;
  handleASPath(edges, path.data(), path.size(), contents);
}
Route& bgpRoute(Parser& parser) { return static_cast<BgpParser&>(parser).data; }
Route& mrtRoute(Parser& parser) { return static_cast<MrtParser&>(parser).data; }
Route& pipeRoute(Parser& parser) { return static_cast<PipeParser&>(parser).data; }
Route& tableRoute(Parser& parser) { return static_cast<TableParser&>(parser).data; }

// The paths of the first pass, as the ASes the line handler takes.
void pathPath(Parser& parser, ASNumber, std::vector<ASNumber>& ases) {
  List<ASNumber>& path = static_cast<PathParser&>(parser).data.path;
  if (path.isEmpty()) return;
  path.goToFirst();
  do ases.push_back(path.current());
  while (path.next());
}
void tablePath(Parser& parser, ASNumber vantage, std::vector<ASNumber>& ases) {
  List<ASItem>& path = static_cast<TableParser&>(parser).data.path;
  const std::size_t start = ases.size();
  ases.resize(start + path.len() + 1);
  ases.resize(start + routePathASes(path, vantage, ases.data() + start));
}
void mrtPath(Parser& parser, ASNumber, std::vector<ASNumber>& ases) {
  const std::vector<ASNumber>& path = static_cast<MrtParser&>(parser).entry.path;
  ases.insert(ases.end(), path.begin(), path.end());
}
void pipePath(Parser& parser, ASNumber, std::vector<ASNumber>& ases) {
  const std::vector<ASNumber>& path = static_cast<PipeParser&>(parser).path;
  ases.insert(ases.end(), path.begin(), path.end());
}

const char kDumpRefusal[] = "BGP dumps can only be used to get IP address covering";
const char kTableRefusal[] =
    "Router tables can only be used to get nodes, edges, path covering and IP address covering";

// Columns: letter, type, vantage, warn when unused, unit read, contents, refusal; first pass:
// parser, line handler; second pass: parser, route; first pass read ahead: path.
const InputFormat kFormats[] = {
    {'b', bgpFile, false, false, "lines", getIPCovering, kDumpRefusal, nullptr, nullptr,
     make<BgpParser>, bgpRoute, nullptr},
    {'B', bgpFile, true, false, "lines", getIPCovering, kDumpRefusal, nullptr, nullptr,
     make<BgpParser>, bgpRoute, nullptr},
    {'s', satFile, false, false, "lines", kAllContents, nullptr, make<SatParser>, satLine, nullptr,
     nullptr, nullptr},
    {'v', vantageFile, false, false, "lines", kStructure,
     "Vantage files do not contain covering information", make<VantageParser>, vantageLine, nullptr,
     nullptr, nullptr},
    {'p', pathFile, false, false, "lines", kStructure | getPathCovering,
     "Cannot get IP address covering from a path file", make<PathParser>, pathLine, nullptr,
     nullptr, pathPath},
    {'u', unknownFile, false, false, "lines", kNodesEdges,
     "Unoriented edges can only be used to get nodes and/or edges", make<UnknownParser>,
     unknownLine, nullptr, nullptr, nullptr},
    {'t', tableFile, false, true, "lines", kRouteContents, kTableRefusal, make<TableParser>,
     tableLine, make<TableParser>, tableRoute, tablePath},
    {'T', tableFile, true, true, "lines", kRouteContents, kTableRefusal, make<TableParser>,
     tableLine, make<TableParser>, tableRoute, tablePath},
    {'m', mrtFile, false, true, "MRT entries", kRouteContents,
     "MRT files can only be used to get nodes, edges, path covering and IP address covering",
     make<MrtParser>, mrtLine, makeMrtRouteParser, mrtRoute, mrtPath},
    {'l', pipeFile, false, true, "lines", kRouteContents,
     "Pipe-separated route text can only be used to get nodes, edges, path covering and IP "
     "address covering",
     make<PipeParser>, pipeLine, makePipeRouteParser, pipeRoute, pipePath},
    {'r', asrelFile, false, true, "lines", kStructure,
     "Relationship files do not contain covering information", make<AsrelParser>, asrelLine,
     nullptr, nullptr, nullptr},
};

}  // namespace

// The duplicate message names o for d and p for c; users of older versions know these letters.
const ContentLetter contentLetters[5] = {
    {'n', getNodes, "Duplicate use of `n' flag for file contents", " nodes"},
    {'e', getEdges, "Duplicate use of `e' flag for file contents", " edges"},
    {'d', getDirections, "Duplicate use of `o' flag for file contents", " edge directions"},
    {'c', getPathCovering, "Duplicate use of `p' flag for file contents", " path covering"},
    {'i', getIPCovering, "Duplicate use of `i' flag for file contents", nullptr},
};

const ContentLetter* findContent(char letter) {
  for (const ContentLetter& content : contentLetters) {
    if (content.letter == letter) return &content;
  }
  return nullptr;
}

const InputFormat* findFormat(char letter) {
  for (const InputFormat& format : kFormats) {
    if (format.letter == letter) return &format;
  }
  return nullptr;
}

const InputFormat& formatOf(FileType type) {
  for (const InputFormat& format : kFormats) {
    if (format.type == type) return format;
  }
  return kFormats[0];
}
