#include "build/input_formats.h"

#include "build/line_handlers.h"
#include "parsers/path_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

namespace {

constexpr int32_t kNodesEdges = getNodes | getEdges;
constexpr int32_t kStructure = getNodes | getEdges | getDirections;
constexpr int32_t kAllContents = kStructure | getPathCovering | getIPCovering;

template <class ParserType>
Parser* make() {
  return new ParserType;
}

// Each handler knows the record of its own parser.
void pathLine(EdgeLookup& edges, Parser& parser, int32_t contents) {
  handlePathLine(edges, static_cast<pathParser&>(parser).data, contents);
}
void vantageLine(EdgeLookup& edges, Parser& parser, int32_t contents) {
  handleVantageLine(edges, static_cast<vantageParser&>(parser).data, contents);
}
void unknownLine(EdgeLookup& edges, Parser& parser, int32_t contents) {
  handleUnknownLine(edges, static_cast<unknownParser&>(parser).data, contents);
}
void satLine(EdgeLookup& edges, Parser& parser, int32_t contents) {
  handleSatLine(edges, static_cast<satParser&>(parser).data, contents);
}
bgpParser::parsed_data& bgpRoute(Parser& parser) {
  return static_cast<bgpParser&>(parser).data;
}

const char kDumpRefusal[] = "BGP dumps can only be used to get IP address covering";

const InputFormat kFormats[] = {
    {'b', bgpFile, false, true, getIPCovering, kDumpRefusal, make<bgpParser>, nullptr, bgpRoute},
    {'B', bgpFile, true, true, getIPCovering, kDumpRefusal, make<bgpParser>, nullptr, bgpRoute},
    {'s', satFile, false, false, kAllContents, nullptr, make<satParser>, satLine, nullptr},
    {'v', vantageFile, false, false, kStructure,
     "Vantage files do not contain covering information", make<vantageParser>, vantageLine,
     nullptr},
    {'p', pathFile, false, false, kStructure | getPathCovering,
     "Cannot get IP address covering from a path file", make<pathParser>, pathLine, nullptr},
    {'u', unknownFile, false, false, kNodesEdges,
     "Unoriented edges can only be used to get nodes and/or edges", make<unknownParser>,
     unknownLine, nullptr},
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

const InputFormat& formatOf(file_type type) {
  for (const InputFormat& format : kFormats) {
    if (format.type == type) return format;
  }
  return kFormats[0];
}
