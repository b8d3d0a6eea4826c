#include "asgraph/graph_file.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <stdio.h>  // getc_unlocked

#include "asgraph/line_writer.h"
#include "asgraph/read_number.h"
#include "asgraph/token_splitter.h"
#include "io/line_reader.h"

namespace {

const long kMaxSourceFiles = 65536;

bool fail(std::string& reason, const char* message) {
  reason = message;
  return false;
}

bool failQuoting(std::string& reason, const char* message, const char* quoted) {
  reason = message;
  reason += quoted;
  reason += '\'';
  return false;
}

// The conversions below accept a text only when the number is followed by nothing at all (an
// empty text reads as 0), and read the number as the C library's conversions of the file's
// fields do.
bool toSigned(const char* text, long& value) {
  const char* last = text + std::strlen(text);
  long long read = 0;
  const bool whole = readStrtol(text, last, read) == last;
  value = static_cast<long>(read);
  return whole;
}

// An unsigned conversion whose result is 32 bits wide, as the file's %lu fields are: a magnitude
// past 4294967295 gives 4294967295 rather than wrapping, and a minus sign negates modulo 2^32.
bool toUnsigned(const char* text, std::uint32_t& value) {
  const char* last = text + std::strlen(text);
  bool negative = false;
  unsigned long long magnitude = 0;
  const NumberRead read =
      readDigits(skipSpaceAndSign(text, last, negative), last, magnitude, UINT32_MAX);
  if (read.status == NumberStatus::noDigits) {
    value = 0;
    return text == last;
  }
  value = static_cast<std::uint32_t>(magnitude);
  if (negative && read.status == NumberStatus::ok) value = 0u - value;
  return read.ptr == last;
}

// strtoull's rules: a magnitude past the type saturates, a minus sign negates modulo 2^64.
bool toUnsigned64(const char* text, unsigned long long& value) {
  const char* last = text + std::strlen(text);
  bool negative = false;
  value = 0;
  const NumberRead read = readDigits(skipSpaceAndSign(text, last, negative), last, value);
  if (read.status == NumberStatus::noDigits) return text == last;
  if (negative && read.status == NumberStatus::ok) value = 0ull - value;
  return read.ptr == last;
}

bool toAS(const char* text, ASNumber& as, ASWidth width) {
  const char* last = text + std::strlen(text);
  long long value = 0;
  if (readDecimalAS(text, last, value, width) != last ||
      !width.accepts(static_cast<unsigned long long>(value))) {
    return false;
  }
  as = static_cast<ASNumber>(value);
  return true;
}

bool toFlag(const char* text, bool& flag) {
  if (std::strcmp(text, "0") == 0) {
    flag = false;
    return true;
  }
  if (std::strcmp(text, "1") == 0) {
    flag = true;
    return true;
  }
  return false;
}

bool toDirection(const char* text, EdgeDir& direction) {
  long value;
  if (!toSigned(text, value) || value < -1 || value > 1) return false;
  direction = ASGraph::valToDir(static_cast<int>(value));
  return true;
}

// Rounds to the nearest float as the hardware does: a double just past the largest float still
// rounds down to it, and only from half a step beyond does it become infinite.
float narrow(double value) {
  const double halfwayToInfinity = static_cast<double>(FLT_MAX) + 0x1p103;
  if (value >= halfwayToInfinity) return HUGE_VALF;
  if (value <= -halfwayToInfinity) return -HUGE_VALF;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

// The fields of one edge line, taken token by token from a line split in place; the first bad
// or missing one ends it with its message.
class EdgeLineFields {
 public:
  EdgeLineFields(char* line, const std::string& whole, ASWidth width, std::string& reason)
      : tokens_(line, TokenSplitter::Separators::spaces),
        whole_(whole),
        width_(width),
        reason_(reason) {}

  bool as(ASNumber& value) {
    return take() && (toAS(token_, value, width_) || quote("Invalid AS number: `"));
  }
  bool flag(bool& value) {
    return take() && (toFlag(token_, value) || quote("Invalid edge direction flag: `"));
  }
  bool direction(EdgeDir& value) {
    return take() && (toDirection(token_, value) || quote("Invalid edge direction: `"));
  }
  // One way's path and IP address covering.
  bool covering(std::uint32_t& paths, std::uint64_t& addresses) {
    std::uint32_t readPaths;
    unsigned long long readAddresses;
    if (!take()) return false;
    if (!toUnsigned(token_, readPaths)) return quote("Invalid path covering value: `");
    if (!take()) return false;
    if (!toUnsigned64(token_, readAddresses)) {
      return quote("Invalid IP address covering value: `");
    }
    paths = readPaths;
    addresses = readAddresses;
    return true;
  }
  // A counter of the differential part, kept to its low 16 bits.
  bool counter(std::uint16_t& value, const char* message) {
    std::uint32_t wide;
    if (!take()) return false;
    if (!toUnsigned(token_, wide)) return quote(message);
    value = static_cast<std::uint16_t>(wide);
    return true;
  }
  bool stability(float& value) {
    if (!take()) return false;
    char* end;
    const double read = std::strtod(token_, &end);
    if (*end != '\0') return quote("Invalid value for orientation stability: `");
    value = narrow(read);
    return true;
  }

 private:
  // A missing field makes the whole line malformed, quoted as it was before splitting.
  bool take() {
    if ((token_ = tokens_.next()) != nullptr) return true;
    return failQuoting(reason_, "Invalid edge line format: `", whole_.c_str());
  }
  bool quote(const char* message) { return failQuoting(reason_, message, token_); }

  TokenSplitter tokens_;
  const std::string& whole_;
  ASWidth width_;
  std::string& reason_;
  char* token_ = nullptr;
};

// The differential part of an edge line: the comparison fields, seen from its first AS.
bool parseComparison(EdgeLineFields& fields, ASEdgeComparison& c) {
  for (int k = 0; k < 2; ++k) {
    if (!fields.flag(c.cmpOriented[k])) return false;
  }
  for (int k = 0; k < 2; ++k) {
    if (!fields.direction(c.cmpDirection[k])) return false;
  }
  return fields.covering(c.pathCovering, c.ipCovering) &&
         fields.covering(c.reversePathCovering, c.reverseIpCovering) &&
         fields.counter(c.comparedGraphs, "Invalid compared graphs count value: `") &&
         fields.counter(c.incomingCount, "Invalid value for number of incoming edges: `") &&
         fields.counter(c.outgoingCount, "Invalid value for number of outgoing edges: `") &&
         fields.counter(c.undirectedCount, "Invalid value for number of undirected edges: `") &&
         fields.counter(c.unorientedCount, "Invalid value for number of unoriented edges: `") &&
         fields.counter(c.orientationChanges,
                        "Invalid value for number of orientation changes: `") &&
         fields.stability(c.orientationStability);
}

}  // namespace

StreamLineSource::~StreamLineSource() { std::free(buffer_); }

bool StreamLineSource::grow() {
  // Room for one byte more than the longest line, which tells a line too long.
  std::size_t capacity = capacity_ == 0 ? 256 : capacity_ * 2;
  if (capacity > LineReader::kMaxLineLength + 1) capacity = LineReader::kMaxLineLength + 1;
  void* grown = std::realloc(buffer_, capacity + 1);
  if (grown == nullptr) return false;
  buffer_ = static_cast<char*>(grown);
  capacity_ = capacity;
  return true;
}

char* StreamLineSource::nextLine(std::size_t& length) {
  if (!failure_.empty()) return nullptr;
  std::size_t count = 0;
  int byte = 0;
  while (count <= LineReader::kMaxLineLength && (byte = getc_unlocked(in_)) != EOF) {
    if (count == capacity_ && !grow()) return nullptr;
    buffer_[count++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  if (count > LineReader::kMaxLineLength) {
    char text[64];
    std::snprintf(text, sizeof text, "line at byte %llu is longer than %zu MiB", position_,
                  LineReader::kMaxLineLength >> 20);
    failure_ = text;
    return nullptr;
  }
  if (count == 0) return nullptr;
  position_ += count;
  buffer_[count] = '\0';
  std::size_t cut = std::strcspn(buffer_, "\r\n");
  // A NUL byte stopped the search early: the line end is looked for past it.
  while (cut < count && buffer_[cut] != '\r' && buffer_[cut] != '\n') ++cut;
  buffer_[cut] = '\0';
  length = cut;
  return buffer_;
}

bool EdgeLineParser::parse(char* line, bool differential, EdgeLine& edge, ASEdgeWeight& w1,
                           ASEdgeWeight& w2, ASEdgeComparison& comparison, std::string& reason) {
  whole_.assign(line);
  EdgeLineFields fields(line, whole_, width_, reason);
  if (!fields.as(edge.from) || !fields.as(edge.to) || !fields.flag(w1.oriented)) return false;
  w2.oriented = w1.oriented;
  if (!fields.direction(edge.direction) || !fields.covering(w1.pathCovering, w1.ipCovering) ||
      !fields.covering(w2.pathCovering, w2.ipCovering)) {
    return false;
  }
  // Tokens after the last field are ignored, so a plain reader accepts differential lines.
  return !differential || parseComparison(fields, comparison);
}

namespace {

// Takes the next line into `line`. False with the reason set when the input has ended (the
// `missing` message) or the line holds a NUL byte, which would cut off the rest of its text.
bool takeLine(GraphLineSource& in, char*& line, std::string& reason, const char* missing) {
  std::size_t length = 0;
  line = in.nextLine(length);
  if (line == nullptr) return fail(reason, in.failure() != nullptr ? in.failure() : missing);
  if (std::strlen(line) != length) return failQuoting(reason, "Line contains a NUL byte: `", line);
  return true;
}

// Takes the type line into the graph's flag and family. False with the reason when it is none,
// or names a family the read does not accept: an IPv6 graph's units read as IPv4 addresses, or
// the reverse, would give every covering a wrong meaning.
bool readTypeLine(const char* line, ASGraph& graph, std::string& reason, AcceptedGraphs accepted) {
  const struct {
    const char* marker;
    bool differential;
    AddressFamily family;
  } kTypes[] = {
      {ASGraph::graphMarker, false, AddressFamily::ipv4},
      {ASGraph::diffGraphMarker, true, AddressFamily::ipv4},
      {ASGraph::ipv6GraphMarker, false, AddressFamily::ipv6},
  };
  for (const auto& type : kTypes) {
    if (std::strcmp(line, type.marker) != 0) continue;
    graph.isDifferential() = type.differential;
    graph.setFamily(type.family);
    if (accepted == AcceptedGraphs::any || accepted == graphsOf(type.family)) return true;
    if (type.family == AddressFamily::ipv6) break;
    reason = type.differential ? "It is a differential graph file (`VDG')"
                               : "It is an IPv4 graph file (`VGR')";
    reason += ": an IPv6 run reads only IPv6 graph files (`VGR6')";
    return false;
  }
  return failQuoting(reason, "Invalid file type string: `", line);
}

}  // namespace

bool readGraphFile(GraphLineSource& in, ASGraph& graph, std::string& reason, ASWidth width,
                   AcceptedGraphs accepted) {
  reason.clear();
  char* line = nullptr;
  if (!takeLine(in, line, reason, "Could not retrieve file type string")) return false;
  if (!readTypeLine(line, graph, reason, accepted)) return false;
  const bool differential = graph.isDifferential();

  if (!takeLine(in, line, reason, "Could not retrieve number of source files")) return false;
  long sourceCount;
  if (!toSigned(line, sourceCount) || sourceCount < 1 || sourceCount > kMaxSourceFiles) {
    return failQuoting(reason, "Invalid number of source files: `", line);
  }
  for (long i = 0; i < sourceCount; ++i) {
    if (!takeLine(in, line, reason, "Could not retrieve all the source file names")) return false;
    graph.addSourceFile(line);
  }

  if (!takeLine(in, line, reason, "Unable to retrieve graph description string")) return false;
  graph.setComment(line);

  std::uint32_t nodeCount;
  if (!takeLine(in, line, reason, "Could not retrieve number of nodes")) return false;
  if (!toUnsigned(line, nodeCount)) return failQuoting(reason, "Invalid number of nodes: `", line);
  std::uint32_t edgeCount;
  if (!takeLine(in, line, reason, "Could not retrieve number of edges")) return false;
  if (!toUnsigned(line, edgeCount)) return failQuoting(reason, "Invalid number of edges: `", line);

  for (std::uint32_t i = 0; i < nodeCount; ++i) {
    if (!takeLine(in, line, reason, "Unable to retrieve all the nodes")) return false;
    ASNumber as;
    if (!toAS(line, as, width)) return failQuoting(reason, "Invalid AS number: `", line);
    graph.addNode(as, as);
  }

  ASEdgeWeight w1;
  ASEdgeWeight w2;
  ASEdgeComparison comparison;
  EdgeLine edge;
  EdgeLineParser parser(width);
  for (std::uint32_t i = 0; i < edgeCount; ++i) {
    if (!takeLine(in, line, reason, "Unable to retrieve all the edges")) return false;
    if (!parser.parse(line, differential, edge, w1, w2, comparison, reason)) return false;
    // Unknown endpoints drop the edge; a repeated edge follows addEdge's own rules, and its
    // comparison fields go with the weights it keeps.
    const int added = graph.addEdge(edge.from, edge.to, edge.direction, w1, w2);
    if (differential && added >= 2) {
      graph.setComparison(graph.storedEdge(edge.from, edge.to), comparison);
    }
  }
  // Whatever follows the announced edges is not read.
  return true;
}

namespace {

// Writes the graph file: the header line by line, then the node and edge lines formatted by hand
// into a LineWriter. Remembers the first failure and writes nothing after it.
class GraphWriter {
 public:
  GraphWriter(std::FILE* out, std::string& reason) : out_(out), reason_(reason) {}

  bool header(ASGraph& graph) {
    const char* marker = graph.isDifferential()                  ? ASGraph::diffGraphMarker
                         : graph.family() == AddressFamily::ipv6 ? ASGraph::ipv6GraphMarker
                                                                 : ASGraph::graphMarker;
    if (std::fprintf(out_, "%s\n", marker) < 0) {
      return fail(reason_, "Could not write file type string");
    }
    List<char*>& sources = graph.getSourceFiles();
    if (std::fprintf(out_, "%llu\n", static_cast<unsigned long long>(sources.len())) < 0) {
      return fail(reason_, "Could not write number of source files");
    }
    bool more = !sources.isEmpty();
    for (sources.goToFirst(); more; more = sources.next()) {
      if (std::fprintf(out_, "%s\n", sources.current()) < 0) {
        return fail(reason_, "Unable to write source file names");
      }
    }
    if (std::fprintf(out_, "%s\n", graph.getComment()) < 0) {
      return fail(reason_, "Could not write comment");
    }
    if (std::fprintf(out_, "%u\n", graph.nodes()) < 0) {
      return fail(reason_, "Could not write number of nodes");
    }
    if (std::fprintf(out_, "%u\n", graph.edges()) < 0) {
      return fail(reason_, "Could not write number of edges");
    }
    return true;
  }

  // Every node line, then every edge line seen from the edge's smaller AS. False with the reason
  // naming the line the stream refused.
  bool nodesAndEdges(ASGraph& graph) {
    LineWriter lines(out_);
    bool ok = true;
    graph.forEachNode([&lines, &ok](const ASNumber&, const ASNumber& as) {
      if (!ok) return;
      char* p = number(lines.lineStart(), as);
      *p++ = '\n';
      ok = lines.endLine(p);
    });
    if (!lines.flush()) return refused("Could not write node ", lines.refusedLine(), 1);
    const bool differential = graph.isDifferential();
    graph.forEachEdge([&lines, &ok, &graph, differential](const ASGraph::edge& e) {
      if (ok) ok = lines.endLine(edgeLine(lines.lineStart(), graph, e, differential));
    });
    if (!lines.flush()) return refused("Could not write edge ", lines.refusedLine(), 2);
    return true;
  }

 private:
  // `message` and the first `numbers` numbers of the refused line.
  bool refused(const char* message, const std::string& line, int numbers) {
    std::size_t end = line.find(' ');
    if (numbers == 2 && end != std::string::npos) end = line.find(' ', end + 1);
    reason_ = message;
    reason_.append(line, 0, end);
    return false;
  }

  static char* edgeLine(char* p, const ASGraph& graph, const ASGraph::edge& e, bool differential) {
    const ASEdgeWeight& w1 = e.weight();
    const ASEdgeWeight& w2 = e.reverseWeight();
    p = number(p, e.from().key);
    *p++ = ' ';
    p = number(p, e.to().key);
    *p++ = ' ';
    p = flag(p, w1.oriented);
    *p++ = ' ';
    p = direction(p, e.direction());
    *p++ = ' ';
    p = number(p, w1.pathCovering);
    *p++ = ' ';
    p = number(p, w1.ipCovering);
    *p++ = ' ';
    p = number(p, w2.pathCovering);
    *p++ = ' ';
    p = number(p, w2.ipCovering);
    if (differential) p = comparison(p, graph.comparison(e));
    *p++ = '\n';
    return p;
  }

  // Decimal digits, written backwards from the end two at a time from a table; 32-bit values
  // take the cheaper arithmetic.
  template <typename Unsigned>
  static char* digits(char* p, Unsigned value) {
    static const char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    int length = 1;
    for (Unsigned rest = value; rest >= 10; rest /= 10) ++length;
    char* last = p + length;
    while (value >= 100) {
      const unsigned pair = static_cast<unsigned>(value % 100) * 2;
      value /= 100;
      *--last = pairs[pair + 1];
      *--last = pairs[pair];
    }
    if (value >= 10) {
      *--last = pairs[value * 2 + 1];
      *--last = pairs[value * 2];
    } else {
      *--last = static_cast<char>('0' + value);
    }
    return p + length;
  }
  static char* number(char* p, std::uint64_t value) {
    return value <= 0xFFFFFFFFu ? digits(p, static_cast<std::uint32_t>(value)) : digits(p, value);
  }
  static char* flag(char* p, bool value) {
    *p++ = value ? '1' : '0';
    return p;
  }
  static char* direction(char* p, EdgeDir value) {
    const int written = ASGraph::dirToVal(value);
    if (written < 0) *p++ = '-';
    *p++ = written != 0 ? '1' : '0';
    return p;
  }

  // The differential fields after the plain ones.
  static char* comparison(char* p, const ASEdgeComparison& c) {
    for (bool oriented : c.cmpOriented) {
      *p++ = ' ';
      p = flag(p, oriented);
    }
    for (EdgeDir d : c.cmpDirection) {
      *p++ = ' ';
      p = direction(p, d);
    }
    const unsigned long long numbers[] = {
        c.pathCovering,    c.ipCovering,        c.reversePathCovering, c.reverseIpCovering,
        c.comparedGraphs,  c.incomingCount,     c.outgoingCount,       c.undirectedCount,
        c.unorientedCount, c.orientationChanges};
    for (unsigned long long value : numbers) {
      *p++ = ' ';
      p = number(p, value);
    }
    *p++ = ' ';
    // As printf writes it, infinities and all: at most 48 characters for a float.
    const int length = std::snprintf(p, 64, "%f", static_cast<double>(c.orientationStability));
    return p + length;
  }

  std::FILE* out_;
  std::string& reason_;
};

}  // namespace

bool writeGraphFile(ASGraph& graph, std::FILE* out, std::string& reason) {
  reason.clear();
  GraphWriter writer(out, reason);
  if (!writer.header(graph)) return false;
  if (!writer.nodesAndEdges(graph)) return false;

  // A full disk often shows only when the buffered text is flushed; that is a failed write too.
  if (std::fflush(out) != 0) {
    reason = "Could not write graph (";
    reason += std::strerror(errno);
    reason += ')';
    return false;
  }
  if (std::ferror(out)) return fail(reason, "Could not write graph");
  return true;
}
