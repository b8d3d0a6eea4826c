// The graph file, written by writeToFile and read back by readFromFile. A text file of lines,
// each ended by a line feed (a carriage return before it is accepted when reading):
//   marker         "VGR" (plain) or "VDG" (differential)
//   N              number of source-file names, then N lines with one name each
//   comment        one line, possibly empty
//   nodes, edges   the two counts, one per line
//   node lines     one AS number per line, ascending
//   edge lines     AS1 AS2 oriented direction pc12 ip12 pc21 ip21 [differential fields]
// Each edge is written once, from its smaller AS. A differential edge line goes on with
//   cmpOriented0 cmpOriented1 cmpDir0 cmpDir1 pc12' ip12' pc21' ip21' compared incoming outgoing
//   undirected unoriented changes stability
// Example edge line of a plain graph: "701 7018 1 -1 12 16777216 0 0".
#include "asgraph/as_graph.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <stdio.h>  // getline

const char* const ASGraph::graphMarker = "VGR";
const char* const ASGraph::diffGraphMarker = "VDG";

namespace {

const unsigned kCommentLength = 512;
const long kMaxSourceFiles = 65536;

char* copyText(const char* text) {
  size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

// Hands out the graph file a whole line at a time, whatever its length, cut at its first carriage
// return or line feed. A line holding a NUL byte ends there, as the rest cannot be used as text.
class LineReader {
 public:
  explicit LineReader(FILE* in) : in_(in), buffer_(nullptr), capacity_(0) {}
  ~LineReader() { std::free(buffer_); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, or null at the end of the input or on a read error.
  char* next() {
    if (getline(&buffer_, &capacity_, in_) < 0) return nullptr;
    buffer_[std::strcspn(buffer_, "\r\n")] = '\0';
    return buffer_;
  }

 private:
  FILE* in_;
  char* buffer_;
  size_t capacity_;
};

// The conversions below accept a text only when the number is followed by nothing at all.
bool toSigned(const char* text, long& value) {
  char* end;
  value = std::strtol(text, &end, 10);
  return *end == '\0';
}

// An unsigned conversion whose result is 32 bits wide, as the file's %lu fields are: a magnitude
// past 4294967295 gives 4294967295 rather than wrapping, and a minus sign negates modulo 2^32.
bool toUnsigned(const char* text, std::uint32_t& value) {
  const char* digits = text;
  while (std::isspace(static_cast<unsigned char>(*digits))) ++digits;
  bool negative = *digits == '-';
  if (*digits == '-' || *digits == '+') ++digits;
  value = 0;
  if (!std::isdigit(static_cast<unsigned char>(*digits))) return *text == '\0';
  char* end;
  errno = 0;
  unsigned long long magnitude = std::strtoull(digits, &end, 10);
  if (errno == ERANGE || magnitude > UINT32_MAX) {
    value = UINT32_MAX;
  } else {
    value = static_cast<std::uint32_t>(magnitude);
    if (negative) value = 0u - value;
  }
  return *end == '\0';
}

bool toUnsigned64(const char* text, unsigned long long& value) {
  char* end;
  value = std::strtoull(text, &end, 10);
  return *end == '\0';
}

bool toAS(const char* text, unsigned short& as) {
  long value;
  if (!toSigned(text, value) || value < 1 || value > 65535) return false;
  as = static_cast<unsigned short>(value);
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

bool toDirection(const char* text, edge_dir& direction) {
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

// Splits an edge line in place at spaces; runs of spaces are one separator.
class Tokens {
 public:
  explicit Tokens(char* line) : rest_(line) {}
  // The next token, or null when the line holds no more.
  char* next() {
    while (*rest_ == ' ') ++rest_;
    if (*rest_ == '\0') return nullptr;
    char* token = rest_;
    while (*rest_ != '\0' && *rest_ != ' ') ++rest_;
    if (*rest_ != '\0') *rest_++ = '\0';
    return token;
  }

 private:
  char* rest_;
};

}  // namespace

ASGraph::ASGraph() : differential(false) { comment[0] = '\0'; }

ASGraph::~ASGraph() { clearSourceFiles(); }

char* ASGraph::errReason() { return &reason[0]; }

List<char*>& ASGraph::getSourceFiles() { return sourceFiles; }

void ASGraph::clearSourceFiles() {
  while (!sourceFiles.isEmpty()) delete[] sourceFiles.pop();
}

void ASGraph::setSourceFiles(char* const* files, bool reset) {
  if (reset) clearSourceFiles();
  for (int i = 0; i < 100; ++i) {
    if (files[i] != nullptr) sourceFiles.enqueue(copyText(files[i]));
  }
}

void ASGraph::setSourceFiles(List<char*>& files, bool reset) {
  // Our own list as the source: emptying it first would lose the names, and walking it while
  // appending would never end. Reset keeps it as it is; otherwise each name is repeated once.
  if (&files == &sourceFiles) {
    if (reset) return;
  } else if (reset) {
    clearSourceFiles();
  }
  unsigned long long count = files.len();
  files.goToFirst();
  for (unsigned long long i = 0; i < count; ++i) {
    sourceFiles.enqueue(copyText(files.current()));
    files.next();
  }
}

char* ASGraph::getComment() { return comment; }

void ASGraph::setComment(const char* text) {
  size_t length = text == nullptr ? 0 : std::strlen(text);
  if (length > kCommentLength) length = kCommentLength;
  if (length > 0) std::memcpy(comment, text, length);
  comment[length] = '\0';
}

bool& ASGraph::isDifferential() { return differential; }

int ASGraph::dirToVal(edge_dir direction) {
  switch (direction) {
    case backward:
      return -1;
    case forward:
      return 1;
    default:
      return 0;
  }
}

edge_dir ASGraph::valToDir(int value) {
  if (value == -1) return backward;
  if (value == 1) return forward;
  return undirected;
}

bool ASGraph::fail(const char* message) {
  reason = message;
  return false;
}

bool ASGraph::failQuoting(const char* message, const char* quoted) {
  reason = message;
  reason += quoted;
  reason += '\'';
  return false;
}

bool ASGraph::writeToFile(FILE* out) {
  reason.clear();
  if (std::fprintf(out, "%s\n", differential ? diffGraphMarker : graphMarker) < 0) {
    return fail("Could not write file type string");
  }
  if (std::fprintf(out, "%llu\n", static_cast<unsigned long long>(sourceFiles.len())) < 0) {
    return fail("Could not write number of source files");
  }
  bool more = !sourceFiles.isEmpty();
  sourceFiles.goToFirst();
  while (more) {
    if (std::fprintf(out, "%s\n", sourceFiles.current()) < 0) {
      return fail("Unable to write source file names");
    }
    more = sourceFiles.next();
  }
  if (std::fprintf(out, "%s\n", comment) < 0) return fail("Could not write comment");
  if (std::fprintf(out, "%u\n", nodes()) < 0) return fail("Could not write number of nodes");
  if (std::fprintf(out, "%u\n", edges()) < 0) return fail("Could not write number of edges");

  // After a failed write the walks go on, only to release the records they were handed.
  bool failed = false;
  int failedAS = 0;
  List<graph_node*>& nodeList = listNodes();
  more = !nodeList.isEmpty();
  nodeList.goToFirst();
  while (more) {
    graph_node* record = nodeList.current();
    if (!failed && std::fprintf(out, "%i\n", static_cast<int>(record->key)) < 0) {
      failed = true;
      failedAS = record->key;
    }
    delete record;
    more = nodeList.next();
  }
  if (failed) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %i", "Could not write node", failedAS);
    return fail(text);
  }

  int failedFrom = 0;
  int failedTo = 0;
  List<graph_edge*>& edgeList = listEdges();
  more = !edgeList.isEmpty();
  edgeList.goToFirst();
  while (more) {
    graph_edge* record = edgeList.current();
    if (!failed) {
      const ASEdgeWeight& w1 = *record->weight;
      const ASEdgeWeight& w2 = *record->reverseWeight;
      int from = record->from->key;
      int to = record->to->key;
      bool ok = std::fprintf(out, "%i %i %i %i %lu %llu %lu %llu", from, to, w1.oriented ? 1 : 0,
                             dirToVal(*record->direction),
                             static_cast<unsigned long>(w1.pathCovering[0]),
                             static_cast<unsigned long long>(w1.ipCovering[0]),
                             static_cast<unsigned long>(w2.pathCovering[0]),
                             static_cast<unsigned long long>(w2.ipCovering[0])) >= 0;
      if (ok && differential) {
        ok = std::fprintf(out, " %i %i %i %i %lu %llu %lu %llu %hu %hu %hu %hu %hu %hu %f",
                          w1.cmpOriented[0] ? 1 : 0, w1.cmpOriented[1] ? 1 : 0,
                          dirToVal(w1.cmpDirection[0]), dirToVal(w1.cmpDirection[1]),
                          static_cast<unsigned long>(w1.pathCovering[1]),
                          static_cast<unsigned long long>(w1.ipCovering[1]),
                          static_cast<unsigned long>(w2.pathCovering[1]),
                          static_cast<unsigned long long>(w2.ipCovering[1]), w1.comparedGraphs,
                          w1.incomingCount, w1.outgoingCount, w1.undirectedCount,
                          w1.unorientedCount, w1.orientationChanges,
                          static_cast<double>(w1.orientationStability)) >= 0;
      }
      if (ok) ok = std::fputc('\n', out) != EOF;
      if (!ok) {
        failed = true;
        failedFrom = from;
        failedTo = to;
      }
    }
    delete record->from;
    delete record->to;
    delete record;
    more = edgeList.next();
  }
  if (failed) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %i %i", "Could not write edge", failedFrom, failedTo);
    return fail(text);
  }

  // A full disk often shows only when the buffered text is flushed; that is a failed write too.
  if (std::fflush(out) != 0) {
    reason = "Could not write graph data (";
    reason += std::strerror(errno);
    reason += ')';
    return false;
  }
  if (std::ferror(out)) return fail("Could not write graph data");
  return true;
}

bool ASGraph::readFromFile(FILE* in) {
  reason.clear();
  // Reused for every edge line; a plain graph's lines never touch the comparison fields, so they
  // keep their defaults.
  ASEdgeWeight w1;
  ASEdgeWeight w2;
  LineReader reader(in);

  char* line = reader.next();
  if (line == nullptr) return fail("Could not retrieve file type string");
  if (std::strcmp(line, diffGraphMarker) == 0) {
    differential = true;
  } else if (std::strcmp(line, graphMarker) == 0) {
    differential = false;
  } else {
    return failQuoting("Invalid file type string: `", line);
  }

  line = reader.next();
  if (line == nullptr) return fail("Could not retrieve number of source files");
  long sourceCount;
  if (!toSigned(line, sourceCount) || sourceCount < 1 || sourceCount > kMaxSourceFiles) {
    return failQuoting("Invalid number of source files: `", line);
  }
  for (long i = 0; i < sourceCount; ++i) {
    line = reader.next();
    if (line == nullptr) return fail("Could not retrieve all the source file names");
    sourceFiles.enqueue(copyText(line));
  }

  line = reader.next();
  if (line == nullptr) return fail("Unable to retrieve graph description string");
  setComment(line);

  std::uint32_t count;
  line = reader.next();
  if (line == nullptr) return fail("Could not retrieve number of nodes");
  if (!toUnsigned(line, count)) return failQuoting("Invalid number of nodes: `", line);
  const std::uint32_t nodeCount = count;
  line = reader.next();
  if (line == nullptr) return fail("Could not retrieve number of edges");
  if (!toUnsigned(line, count)) return failQuoting("Invalid number of edges: `", line);
  const std::uint32_t edgeCount = count;

  for (std::uint32_t i = 0; i < nodeCount; ++i) {
    line = reader.next();
    if (line == nullptr) return fail("Unable to retrieve all the nodes");
    unsigned short as;
    if (!toAS(line, as)) return failQuoting("Invalid AS number: `", line);
    addNode(as, as);
  }

  std::string whole;
  for (std::uint32_t i = 0; i < edgeCount; ++i) {
    line = reader.next();
    if (line == nullptr) return fail("Unable to retrieve all the edges");
    whole.assign(line);
    Tokens tokens(line);
    char* token = nullptr;
    // Each field takes the next token; a missing one makes the line malformed, quoted whole.
    auto take = [&tokens, &token]() { return (token = tokens.next()) != nullptr; };
    auto malformed = [this, &whole]() {
      return failQuoting("Invalid edge line format: `", whole.c_str());
    };
    // One way's path and IP address covering at the given index.
    auto takeCovering = [&](ASEdgeWeight& way, int index) {
      std::uint32_t paths;
      unsigned long long addresses;
      if (!take()) return malformed();
      if (!toUnsigned(token, paths)) return failQuoting("Invalid path covering value: `", token);
      if (!take()) return malformed();
      if (!toUnsigned64(token, addresses)) {
        return failQuoting("Invalid IP address covering value: `", token);
      }
      way.pathCovering[index] = paths;
      way.ipCovering[index] = addresses;
      return true;
    };

    unsigned short from;
    unsigned short to;
    edge_dir direction;
    if (!take()) return malformed();
    if (!toAS(token, from)) return failQuoting("Invalid AS number: `", token);
    if (!take()) return malformed();
    if (!toAS(token, to)) return failQuoting("Invalid AS number: `", token);
    if (!take()) return malformed();
    if (!toFlag(token, w1.oriented)) return failQuoting("Invalid edge direction flag: `", token);
    w2.oriented = w1.oriented;
    if (!take()) return malformed();
    if (!toDirection(token, direction)) return failQuoting("Invalid edge direction: `", token);
    if (!takeCovering(w1, 0) || !takeCovering(w2, 0)) return false;

    if (differential) {
      for (int k = 0; k < 2; ++k) {
        if (!take()) return malformed();
        if (!toFlag(token, w1.cmpOriented[k])) {
          return failQuoting("Invalid edge direction flag: `", token);
        }
        w2.cmpOriented[k] = w1.cmpOriented[k];
      }
      for (int k = 0; k < 2; ++k) {
        if (!take()) return malformed();
        if (!toDirection(token, w1.cmpDirection[k])) {
          return failQuoting("Invalid edge direction: `", token);
        }
        w2.cmpDirection[k] = reverse(w1.cmpDirection[k]);
      }
      if (!takeCovering(w1, 1) || !takeCovering(w2, 1)) return false;

      static const char* const kCounterMessages[6] = {
          "Invalid compared graphs count value: `",
          "Invalid value for number of incoming edges: `",
          "Invalid value for number of outgoing edges: `",
          "Invalid value for number of undirected edges: `",
          "Invalid value for number of unoriented edges: `",
          "Invalid value for number of orientation changes: `"};
      std::uint16_t counters[6];
      for (int k = 0; k < 6; ++k) {
        if (!take()) return malformed();
        if (!toUnsigned(token, count)) return failQuoting(kCounterMessages[k], token);
        counters[k] = static_cast<std::uint16_t>(count);
      }
      w1.comparedGraphs = w2.comparedGraphs = counters[0];
      w1.incomingCount = w2.outgoingCount = counters[1];
      w1.outgoingCount = w2.incomingCount = counters[2];
      w1.undirectedCount = w2.undirectedCount = counters[3];
      w1.unorientedCount = w2.unorientedCount = counters[4];
      w1.orientationChanges = w2.orientationChanges = counters[5];

      if (!take()) return malformed();
      char* end;
      double stability = std::strtod(token, &end);
      if (*end != '\0') return failQuoting("Invalid value for orientation stability: `", token);
      w1.orientationStability = w2.orientationStability = narrow(stability);
    }
    // Tokens after the last field are ignored. Unknown endpoints drop the edge; a repeated edge
    // follows addEdge's own rules.
    addEdge(from, to, direction, w1, w2);
  }
  return true;
}
