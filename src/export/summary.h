// What a person wants to know first about a graph, in a stable human-readable layout: where it
// came from, its size, how many edges carry a direction, the spread of degrees, the ASes with
// the most edges and the most customers, and the covering totals. zelgrin-export prints it when
// no other format is asked for.
#ifndef ZELGRIN_EXPORT_SUMMARY_H
#define ZELGRIN_EXPORT_SUMMARY_H

#include <cstdint>
#include <vector>

#include "export/graph_view.h"
#include "export/output_buffer.h"

// The edges at one AS by the relationship they give it. A self-loop counts once in the degree
// and in no relationship.
struct ASEdgeCounts {
  ASNumber as = 0;
  std::uint32_t degree = 0;
  std::uint32_t customers = 0;
  std::uint32_t providers = 0;
  std::uint32_t peers = 0;
  std::uint32_t unknown = 0;
};

struct GraphSummary {
  std::uint64_t nodes = 0;
  std::uint64_t edges = 0;
  std::uint64_t oriented = 0;  // direction taken from input data
  std::uint64_t directed = 0;  // customer to provider, either way
  std::uint64_t peers = 0;     // oriented, no direction
  std::uint64_t unknown = 0;   // not oriented, no direction
  std::uint64_t selfLoops = 0;
  std::uint64_t withIpCovering = 0;  // IP covering over either way
  std::uint64_t pathCovering = 0;    // both ways of every edge added
  std::uint64_t ipCovering = 0;      // both ways of every edge added; stops at 2^64 - 1
  // Degree quantiles by nearest rank (the value at rank ceil(q * nodes)); all 0 without nodes.
  std::uint32_t degreeMin = 0, degreeMedian = 0, degree90 = 0, degree99 = 0, degreeMax = 0;
  std::vector<ASEdgeCounts> highestDegree;  // at most ten, degree descending, then AS ascending
  std::vector<ASEdgeCounts> mostCustomers;  // at most ten with any customer, likewise
};

// Counts everything the summary shows over the view.
GraphSummary summarize(const GraphView& view);

// Appends the summary of the view as text.
void writeSummary(const GraphView& view, const GraphSummary& summary, OutputBuffer& out);

#endif  // ZELGRIN_EXPORT_SUMMARY_H
