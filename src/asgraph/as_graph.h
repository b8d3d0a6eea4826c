// The AS graph the program builds and writes: AS numbers as nodes, an ASEdgeWeight per way along
// each edge, plus the source-file list, a one-line comment and the differential flag, and for a
// differential graph the comparison fields of its edges. The driver reads and writes it as a
// graph file; graph construction fills it through the Graph operations.
#ifndef ZELGRIN_ASGRAPH_AS_GRAPH_H
#define ZELGRIN_ASGRAPH_AS_GRAPH_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "asgraph/as_number.h"
#include "asgraph/edge_weight.h"
#include "containers/edge_dir.h"
#include "containers/graph.h"
#include "containers/list.h"
#include "ip/address_family.h"

// The graph files a read takes, told by their type line: those of one family, as a run reads
// only graphs whose covering counts what its own does, or any, for a reader that only shows a
// graph (the exporter).
enum class AcceptedGraphs : std::uint8_t { ipv4, ipv6, any };

// The graph files a run of `family` reads.
inline AcceptedGraphs graphsOf(AddressFamily family) {
  return family == AddressFamily::ipv6 ? AcceptedGraphs::ipv6 : AcceptedGraphs::ipv4;
}

class ASGraph : public Graph<ASNumber, ASEdgeWeight, ASNumber> {
 public:
  static const char* const graphMarker;      // "VGR", first line of a plain graph file
  static const char* const diffGraphMarker;  // "VDG", first line of a differential graph file
  // "VGR6", first line of an IPv6 graph file: its IP covering counts /64 units, and the marker
  // keeps a reader that knows only "VGR" from taking them for IPv4 addresses.
  static const char* const ipv6GraphMarker;

  // Empty graph, no source files, empty comment and error reason, not differential.
  ASGraph();
  // Releases every source-file string, then the list and the graph.
  ~ASGraph();
  ASGraph(const ASGraph&) = delete;
  ASGraph& operator=(const ASGraph&) = delete;

  // Reason of the last failed readFromFile or writeToFile; empty after a success.
  char* errReason();
  // The source-file list itself; the graph owns the strings in it.
  List<char*>& getSourceFiles();
  // Appends a copy of every non-null entry of files[0..99], in order; empties the list first if
  // reset. REQUIRES: files has 100 entries (null ones are skipped).
  void setSourceFiles(char* const* files, bool reset);
  // Appends a copy of every string of files, in list order; empties the list first if reset.
  // Moves the cursor of files.
  void setSourceFiles(List<char*>& files, bool reset);
  // Appends a copy of one name.
  void addSourceFile(const char* name);
  // The comment, at most 512 characters.
  char* getComment();
  // Replaces the comment with the first 512 characters of text.
  void setComment(const char* text);
  // The differential flag, which callers may also set through the reference.
  bool& isDifferential();
  // The family of the graph's IP covering: IPv4 addresses, or IPv6 /64 units (written "VGR6").
  AddressFamily family() const { return family_; }
  void setFamily(AddressFamily family) { family_ = family; }

  // The comparison fields of an edge as seen from the handle's `from` end: what a differential
  // graph file gave for it, or the defaults for an edge it did not give.
  ASEdgeComparison comparison(const edge& seen) const;
  // Keeps the comparison fields of an edge, given as seen from the handle's `from` end.
  void setComparison(const edge& seen, const ASEdgeComparison& fields);

  // The graph file's number for a direction: undirected 0, backward -1, forward 1.
  static int dirToVal(EdgeDir direction);
  // The direction for a graph file number; anything but -1, 0 or 1 gives undirected.
  static EdgeDir valToDir(int value);

  // Writes the graph file (graph_file.h) to an open stream and flushes it. False with errReason
  // set when any write or the flush fails. The caller closes the stream.
  bool writeToFile(FILE* out);
  // Reads a graph file (graph_file.h) from an open stream into this graph (names are appended,
  // the comment, the flag and the family replaced). False with errReason set on malformed or
  // short input or a graph file that `accepted` leaves out; what was read before the failure
  // stays. AS numbers up to width.largest(). The caller closes the stream.
  bool readFromFile(FILE* in, ASWidth width, AcceptedGraphs accepted = AcceptedGraphs::ipv4);

 private:
  void clearSourceFiles();

  bool differential;
  AddressFamily family_ = AddressFamily::ipv4;
  std::string reason;
  List<char*> sourceFiles;
  char comment[513];
  // By edge number, seen from the edge's smaller AS; only as long as the highest edge number a
  // differential graph file set, so a plain graph has none.
  std::vector<ASEdgeComparison> comparisons;
};

#endif  // ZELGRIN_ASGRAPH_AS_GRAPH_H
