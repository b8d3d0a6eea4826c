// Graph files added up into one graph, for aggregates of many runs (the graphs of a month, of all
// collectors of a day): nodes and edges are the union, the path and IP covering of each way the
// sums, the source file lists are kept in order. An edge takes the orientation of the graphs that
// oriented it; when they disagree it is left unoriented. The graphs are all of one family, that
// of the run, so that addresses are never added to /64 units. Used by the driver for --sum.
#ifndef ZELGRIN_BUILD_GRAPH_SUM_H
#define ZELGRIN_BUILD_GRAPH_SUM_H

#include <cstdint>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"

class GraphSum {
 public:
  enum class Result {
    ok,
    unopened,      // the file could not be opened: reason is the system's
    invalid,       // not a graph file: reason is the graph reader's
    otherFamily,   // a graph file of the other family: reason is the graph reader's
    differential,  // a differential graph, which has no sum
    overflow,      // a covering of the sum would not fit its field: reason names the edge
  };

  // Adds graphs of `family` into `sum`, which may already hold a graph (it then counts as the
  // first part) and takes that family. AS numbers up to width.largest() are read.
  GraphSum(ASGraph& sum, ASWidth width, AddressFamily family = AddressFamily::ipv4);
  GraphSum(const GraphSum&) = delete;
  GraphSum& operator=(const GraphSum&) = delete;

  // Reads the named graph file ("-": standard input; compressed or not) and adds it. On failure
  // `reason` says why and the sum keeps what earlier files gave (and part of this one for a sum
  // that overflowed).
  Result add(const char* name, std::string& reason);

  // Edges that some graphs oriented one way and others another: left unoriented.
  std::uint64_t conflicts() const { return conflicts_; }

 private:
  Result addGraph(ASGraph& part, std::string& reason);
  bool addEdge(const ASGraph::edge& from, std::string& reason);

  ASGraph& sum_;
  ASWidth width_;
  AddressFamily family_;
  // By edge number of the sum: the graphs disagreed on its orientation, so no later graph may
  // orient it again.
  std::vector<bool> disagreed_;
  std::uint64_t conflicts_ = 0;
};

#endif  // ZELGRIN_BUILD_GRAPH_SUM_H
