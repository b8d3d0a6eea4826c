// The graph file: the text form in which the AS graph is written and read back (--enhance).
// A text file of lines, each ended by a line feed (a carriage return before it is accepted when
// reading):
//   marker         "VGR" (plain) or "VDG" (differential), whose IP covering counts IPv4
//                  addresses; "VGR6" (plain), whose IP covering counts IPv6 /64 units
//   N              number of source-file names, then N lines with one name each
//   comment        one line, possibly empty
//   nodes, edges   the two counts, one per line
//   node lines     one AS number per line, ascending
//   edge lines     AS1 AS2 oriented direction pc12 ip12 pc21 ip21 [differential fields]
// Each edge is written once, from its smaller AS. A differential edge line goes on with
//   cmpOriented0 cmpOriented1 cmpDir0 cmpDir1 pc12' ip12' pc21' ip21' compared incoming outgoing
//   undirected unoriented changes stability
// Example edge line of a plain graph: "701 7018 1 -1 12 16777216 0 0".
// ASGraph::readFromFile and writeToFile use these; so does the exporter.
#ifndef ZELGRIN_ASGRAPH_GRAPH_FILE_H
#define ZELGRIN_ASGRAPH_GRAPH_FILE_H

#include <cstddef>
#include <cstdio>
#include <string>

#include "asgraph/as_graph.h"

// Hands out the lines of a graph file whatever their length, each cut at its first carriage
// return or line feed. The reader pulls from any source of lines through this.
class GraphLineSource {
 public:
  virtual ~GraphLineSource() = default;
  // The next line as a writable C string valid until the next call, or null at the end of the
  // input or on a read error. `length` is the line's length before the cut, NUL bytes included,
  // so that a line holding a NUL (whose C string ends early) can be told from a short one.
  virtual char* nextLine(std::size_t& length) = 0;
  // Why the last nextLine gave null before the end, when the source has a reason of its own to
  // report (a line too long); null otherwise.
  virtual const char* failure() const { return nullptr; }
};

// Lines of an open stream. A line longer than LineReader::kMaxLineLength, line end included,
// ends the lines with a failure() instead of being held whole.
class StreamLineSource : public GraphLineSource {
 public:
  explicit StreamLineSource(std::FILE* in) : in_(in) {}
  ~StreamLineSource() override;
  StreamLineSource(const StreamLineSource&) = delete;
  StreamLineSource& operator=(const StreamLineSource&) = delete;
  char* nextLine(std::size_t& length) override;
  const char* failure() const override { return failure_.empty() ? nullptr : failure_.c_str(); }

 private:
  bool grow();

  std::FILE* in_;
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  unsigned long long position_ = 0;  // bytes of the stream taken so far
  std::string failure_;
};

// Lines of a block line reader, such as the input streams that decompress what they read.
// `Reader` offers bool nextLine(Line&) with a Line{char* text; size_t length}, the line end
// included, text[length] a NUL, and the bytes before it free to change.
template <class Reader>
class ReaderLineSource : public GraphLineSource {
 public:
  explicit ReaderLineSource(Reader& reader) : reader_(reader) {}
  char* nextLine(std::size_t& length) override {
    typename Reader::Line line;
    if (!reader_.nextLine(line)) return nullptr;
    std::size_t cut = 0;
    while (cut < line.length && line.text[cut] != '\r' && line.text[cut] != '\n') ++cut;
    if (cut < line.length) line.text[cut] = '\0';
    length = cut;
    return line.text;
  }

 private:
  Reader& reader_;
};

// One edge line as read: its ends and the direction seen from `from`.
struct EdgeLine {
  ASNumber from = 0;
  ASNumber to = 0;
  EdgeDir direction = undirected;
};

// Reads the fields of one edge line into an EdgeLine, the weights of its two ways and its
// comparison fields. Keeps a copy of the line for the message that quotes it whole, reused from
// line to line.
class EdgeLineParser {
 public:
  // AS numbers up to width.largest().
  explicit EdgeLineParser(ASWidth width) : width_(width) {}

  // Splits `line` in place at spaces and reads its fields into `edge`, `w1` (the way from->to),
  // `w2` (to->from) and, for a differential line, `comparison` (seen from `from`). Only the
  // fields a line carries are written, so a plain line leaves `comparison` as it was. False
  // with the message in `reason` when a field is missing or bad.
  bool parse(char* line, bool differential, EdgeLine& edge, ASEdgeWeight& w1, ASEdgeWeight& w2,
             ASEdgeComparison& comparison, std::string& reason);

 private:
  std::string whole_;
  ASWidth width_;
};

// Reads a whole graph file into `graph` (source names are appended, the comment and the
// differential flag replaced; an edge line of a differential file that adds or overwrites an
// edge sets its comparison fields). False with the message in `reason` on malformed or short
// input, on a line holding a NUL byte, or on an AS number above width.largest(); what was read
// before the failure stays in the graph.
// The family is that of the type line, set as soon as it is known, so that a caller whose read
// `accepted` refused can tell the user which run reads the file. A file of the IPv6 family read
// as IPv4 fails as an unknown type line does, since that is all an older reader could say.
bool readGraphFile(GraphLineSource& in, ASGraph& graph, std::string& reason, ASWidth width,
                   AcceptedGraphs accepted = AcceptedGraphs::ipv4);

// Writes `graph` as a graph file to an open stream and flushes it. False with the message in
// `reason` when a write or the flush fails: the header line, node or edge line the stream
// refused, or the flush. The caller closes the stream.
bool writeGraphFile(ASGraph& graph, std::FILE* out, std::string& reason);

#endif  // ZELGRIN_ASGRAPH_GRAPH_FILE_H
