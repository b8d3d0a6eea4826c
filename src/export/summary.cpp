#include "export/summary.h"

#include <algorithm>
#include <cstdio>

#include "export/edge_attributes.h"
#include "export/text_escape.h"

namespace {

std::uint64_t addSaturating(std::uint64_t sum, std::uint64_t value) {
  return value > UINT64_MAX - sum ? UINT64_MAX : sum + value;
}

// The value at rank ceil(q * n) of n ascending values. REQUIRES: sorted is not empty.
std::uint32_t nearestRank(const std::vector<std::uint32_t>& sorted, unsigned percent) {
  const std::size_t rank = (sorted.size() * percent + 99) / 100;
  return sorted[rank == 0 ? 0 : rank - 1];
}

// The ten ASes first by `key`, then by ascending AS number; none whose key is 0.
std::vector<ASEdgeCounts> topTen(const std::vector<ASEdgeCounts>& all,
                                 std::uint32_t ASEdgeCounts::*key) {
  std::vector<ASEdgeCounts> ranked;
  for (const ASEdgeCounts& counts : all) {
    if (counts.*key > 0) ranked.push_back(counts);
  }
  const std::size_t kept = std::min<std::size_t>(10, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept),
                    ranked.end(), [key](const ASEdgeCounts& x, const ASEdgeCounts& y) {
                      return x.*key != y.*key ? x.*key > y.*key : x.as < y.as;
                    });
  ranked.resize(kept);
  return ranked;
}

void countEdge(const EdgeFields& copy, ASEdgeCounts& a, ASEdgeCounts& b, GraphSummary& s) {
  const Relationship relationship = relationshipOf(copy);
  ++s.edges;
  if (copy.ab.oriented) ++s.oriented;
  if (relationship == Relationship::peer) ++s.peers;
  if (relationship == Relationship::unknown) ++s.unknown;
  if (relationship == Relationship::customerProvider ||
      relationship == Relationship::providerCustomer) {
    ++s.directed;
  }
  s.pathCovering += std::uint64_t{copy.ab.pathCovering} + copy.ba.pathCovering;
  s.ipCovering = addSaturating(addSaturating(s.ipCovering, copy.ab.ipCovering), copy.ba.ipCovering);
  if (copy.ab.ipCovering > 0 || copy.ba.ipCovering > 0) ++s.withIpCovering;
  ++a.degree;
  if (&a == &b) {
    ++s.selfLoops;
    return;
  }
  ++b.degree;
  switch (relationship) {
    case Relationship::customerProvider:
      ++a.providers;
      ++b.customers;
      break;
    case Relationship::providerCustomer:
      ++a.customers;
      ++b.providers;
      break;
    case Relationship::peer:
      ++a.peers;
      ++b.peers;
      break;
    case Relationship::unknown:
      ++a.unknown;
      ++b.unknown;
      break;
  }
}

}  // namespace

GraphSummary summarize(const GraphView& view) {
  GraphSummary summary;
  std::vector<ASEdgeCounts> perAS;
  view.forEachNode([&perAS](ASNumber as) {
    perAS.emplace_back();
    perAS.back().as = as;
  });
  summary.nodes = perAS.size();
  auto countsOf = [&perAS](ASNumber as) -> ASEdgeCounts& {
    return *std::lower_bound(perAS.begin(), perAS.end(), as,
                             [](const ASEdgeCounts& c, ASNumber key) { return c.as < key; });
  };
  view.forEachEdge([&](const EdgeFields& copy) {
    countEdge(copy, countsOf(copy.a), countsOf(copy.b), summary);
  });

  if (!perAS.empty()) {
    std::vector<std::uint32_t> degrees;
    degrees.reserve(perAS.size());
    for (const ASEdgeCounts& counts : perAS) degrees.push_back(counts.degree);
    std::sort(degrees.begin(), degrees.end());
    summary.degreeMin = degrees.front();
    summary.degreeMedian = nearestRank(degrees, 50);
    summary.degree90 = nearestRank(degrees, 90);
    summary.degree99 = nearestRank(degrees, 99);
    summary.degreeMax = degrees.back();
  }
  summary.highestDegree = topTen(perAS, &ASEdgeCounts::degree);
  summary.mostCustomers = topTen(perAS, &ASEdgeCounts::customers);
  return summary;
}

namespace {

// Lines are short and few, so they are formatted with printf into a scratch line.
class SummaryText {
 public:
  explicit SummaryText(OutputBuffer& out) : out_(out) {}

  template <typename... Values>
  void line(const char* format, Values... values) {
    const int length = std::snprintf(text_, sizeof text_, format, values...);
    if (length > 0) out_.append(text_, std::min<std::size_t>(length, sizeof text_ - 1));
  }
  // "label  count (share %)": the share of `total`, 0.0 when total is 0, and a note after it.
  void share(const char* label, std::uint64_t count, std::uint64_t total, const char* note = "") {
    const double percent = total == 0 ? 0.0 : 100.0 * static_cast<double>(count) / total;
    line("  %-16s%10llu  %5.1f %%%s\n", label, static_cast<unsigned long long>(count), percent,
         note);
  }
  void table(const char* title, const std::vector<ASEdgeCounts>& ranked) {
    line("\n%-14s%8s%11s%11s%7s%9s\n", title, "degree", "customers", "providers", "peers",
         "unknown");
    if (ranked.empty()) out_.append("  (none)\n");
    for (const ASEdgeCounts& c : ranked) {
      line("  AS%-10u%8u%11u%11u%7u%9u\n", c.as, c.degree, c.customers, c.providers, c.peers,
           c.unknown);
    }
  }

 private:
  OutputBuffer& out_;
  char text_[256];
};

}  // namespace

void writeSummary(const GraphView& view, const GraphSummary& s, OutputBuffer& out) {
  ASGraph& graph = view.graph();
  SummaryText text(out);
  List<char*>& sources = graph.getSourceFiles();
  const bool ipv6 = graph.family() == AddressFamily::ipv6;
  text.line("Graph:            %s%s, %llu source file%s\n",
            graph.isDifferential() ? "differential" : "plain", ipv6 ? " IPv6" : "",
            static_cast<unsigned long long>(sources.len()), sources.len() == 1 ? "" : "s");
  bool more = !sources.isEmpty();
  for (sources.goToFirst(); more; more = sources.next()) {
    out.append("  ");
    appendEscaped(out, sources.current(), TextSyntax::terminal);
    out.append('\n');
  }
  out.append("Comment:          ");
  appendEscaped(out, graph.getComment(), TextSyntax::terminal);
  out.append('\n');
  if (view.focused()) {
    text.line("Around:           AS%u, %u hop%s\n", view.centre(), view.depth(),
              view.depth() == 1 ? "" : "s");
  }
  text.line("Nodes:            %10llu\n", static_cast<unsigned long long>(s.nodes));
  text.line("Edges:            %10llu\n", static_cast<unsigned long long>(s.edges));
  text.share("oriented", s.oriented, s.edges);
  text.share("directed", s.directed, s.edges);
  text.share("peer", s.peers, s.edges);
  text.share("unknown", s.unknown, s.edges);
  // Self-loops surprise readers of a graph of ASes; they come from the paths, kept as read.
  text.share("self-loops", s.selfLoops, s.edges, "  from prepending: an AS repeated in a path");
  text.share("with IP covering", s.withIpCovering, s.edges);
  text.line("Degree:           min %u, median %u, 90th percentile %u, 99th percentile %u, max %u\n",
            s.degreeMin, s.degreeMedian, s.degree90, s.degree99, s.degreeMax);
  text.line("Path covering:    %llu paths over edges, both ways added\n",
            static_cast<unsigned long long>(s.pathCovering));
  text.line("IP covering:      %llu %s over edges, both ways added\n",
            static_cast<unsigned long long>(s.ipCovering), ipv6 ? kIPv6CoveringUnit : "addresses");
  text.table("Highest degree", s.highestDegree);
  text.table("Most customers", s.mostCustomers);
}
