#include "build/credit_pipeline.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "build/ip_covering.h"

namespace {

// A ring of kNodes ASes: far more edges than the recent finds hold.
constexpr ASNumber kNodes = 200000;

void makeRing(ASGraph& graph) {
  ASEdgeWeight fresh;
  for (ASNumber as = 1; as <= kNodes; ++as) graph.addNode(as, as);
  for (ASNumber as = 1; as < kNodes; ++as) graph.addEdge(as, as + 1, undirected, fresh, fresh);
}

// Whether routes are held back or not, and across the switches between the two, the pipeline
// credits and counts exactly as crediting one route after the other: three phases of routes,
// over a few edges, over edges spread around the ring, and over a few again; some routes name
// a hop that is no edge. The routes come in turn as their ASes, as a parser's array of path
// items, and as the edges another lookup found for them.
TEST(CreditPipelineTest, CreditsAsOneByOne) {
  for (bool exact : {false, true}) {
    ASGraph piped, oneByOne;
    makeRing(piped);
    makeRing(oneByOne);
    EdgeLookup pipedEdges(piped), oneByOneEdges(oneByOne), finder(piped);
    BuildReport pipedReport(1), oneByOneReport(1);
    std::mt19937 random(7);
    {
      CreditPipeline pipeline(pipedEdges, exact, nullptr, &pipedReport);
      const unsigned phase = 150000;
      for (unsigned i = 0; i < 3 * phase; ++i) {
        const bool spread = i / phase == 1;
        const ASNumber first = spread ? 1 + random() % (kNodes - 4) : 1 + random() % 4;
        const ASNumber gap = i % 7 == 0 ? 2 : 1;
        const ASNumber ases[] = {first, first + 1, first + 1 + gap};
        const char length = static_cast<char>(i % 5 == 0 ? 16 : 24);
        const IPPrefix prefix(IPAddress(10 + i / 65536 % 200, i / 256 % 256, i % 256, 0),
                              IPNetmask(length));
        if (i % 3 == 0) {
          pipeline.add(0, prefix, ases, 3);
        } else if (i % 3 == 1) {
          ASGraph::edge hops[2];
          findWalkHops(finder, ases, 3, hops);
          pipeline.add(0, prefix, hops, 2);
        } else {
          ASItem items[3];
          for (int k = 0; k < 3; ++k) items[k].AS = ases[k];
          pipeline.add(0, prefix, items, 3, 0);
        }
        addIPCovering(oneByOneEdges, prefix, ases, 3, exact, nullptr);
        oneByOneReport.countUsed(0, oneByOneEdges.takeReached());
      }
      pipeline.flush();
    }
    EXPECT_EQ(pipedReport.entry(0).applied, oneByOneReport.entry(0).applied);
    EXPECT_EQ(pipedReport.entry(0).stats.used(), oneByOneReport.entry(0).stats.used());
    std::size_t differ = 0;
    for (ASNumber as = 1; as < kNodes; ++as) {
      const ASGraph::edge a = piped.storedEdge(as, as + 1), b = oneByOne.storedEdge(as, as + 1);
      differ += a.weight().ipCovering != b.weight().ipCovering ||
                a.reverseWeight().ipCovering != b.reverseWeight().ipCovering;
    }
    EXPECT_EQ(differ, 0u) << (exact ? "exact" : "classic");
  }
}

}  // namespace
