#include "asgraph/edge_weight.h"

#include <gtest/gtest.h>

#include "ip/ip_prefix.h"

TEST(ASEdgeWeight, DefaultsMatchTheGraphFile) {
  ASEdgeWeight w;
  EXPECT_FALSE(w.oriented);
  EXPECT_EQ(w.pathCovering, 0u);
  EXPECT_EQ(w.ipCovering, 0u);
  // The whole address space, as an IPPrefix is by default.
  EXPECT_EQ(w.lastPrefix.first, 0u);
  EXPECT_EQ(w.lastPrefix.last, 4294967295u);
  // Millions of ways are held at once.
  EXPECT_LE(sizeof(ASEdgeWeight), 24u);

  ASEdgeComparison c;
  EXPECT_FALSE(c.cmpOriented[0] || c.cmpOriented[1]);
  EXPECT_EQ(c.cmpDirection[0], undirected);
  EXPECT_EQ(c.cmpDirection[1], undirected);
  EXPECT_EQ(c.pathCovering + c.ipCovering + c.reversePathCovering + c.reverseIpCovering, 0u);
  EXPECT_EQ(c.comparedGraphs, 1);
  EXPECT_EQ(c.incomingCount + c.outgoingCount + c.undirectedCount + c.unorientedCount +
                c.orientationChanges,
            0);
  EXPECT_EQ(c.orientationStability, 0.0f);
}

// The remembered prefix shares addresses with another as two IPPrefix ranges do, classful
// (unaligned) addresses included.
TEST(ASEdgeWeight, RememberedPrefixSharesAddressesLikeIPPrefix) {
  const IPPrefix prefixes[] = {
      IPPrefix(),
      IPPrefix(IPAddress(10, 0, 0, 0), IPNetmask(8)),
      IPPrefix(IPAddress(10, 1, 0, 0), IPNetmask(16)),
      IPPrefix(IPAddress(10, 1, 2, 3)),  // classful: 10.1.2.3 with a /8 netmask
      IPPrefix(IPAddress(255, 255, 255, 255), IPNetmask(32)),
      IPPrefix(IPAddress(254, 0, 0, 0)),  // class E: /32
      IPPrefix(IPAddress(192, 168, 7, 0), IPNetmask(24)),
  };
  auto remember = [](const IPPrefix& p) {
    return RememberedPrefix::of(p.address().value(), p.netmask().value());
  };
  for (const IPPrefix& a : prefixes) {
    for (const IPPrefix& b : prefixes) {
      EXPECT_EQ(remember(a).sharedAddresses(remember(b)), a.sharedAddresses(b))
          << a.address().value() << "/" << int(a.netmask().brief()) << " and "
          << b.address().value() << "/" << int(b.netmask().brief());
    }
  }
}

TEST(ASEdgeWeight, ComparisonSeenFromTheOtherEnd) {
  ASEdgeComparison c;
  c.cmpOriented[1] = true;
  c.cmpDirection[0] = forward;
  c.cmpDirection[1] = undirected;
  c.pathCovering = 1;
  c.ipCovering = 2;
  c.reversePathCovering = 3;
  c.reverseIpCovering = 4;
  c.comparedGraphs = 5;
  c.incomingCount = 6;
  c.outgoingCount = 7;
  c.undirectedCount = 8;
  c.orientationStability = 0.5f;
  const ASEdgeComparison r = c.reversed();
  EXPECT_TRUE(!r.cmpOriented[0] && r.cmpOriented[1]);
  EXPECT_EQ(r.cmpDirection[0], backward);
  EXPECT_EQ(r.cmpDirection[1], undirected);
  EXPECT_EQ(r.pathCovering, 3u);
  EXPECT_EQ(r.ipCovering, 4u);
  EXPECT_EQ(r.reversePathCovering, 1u);
  EXPECT_EQ(r.reverseIpCovering, 2u);
  EXPECT_EQ(r.comparedGraphs, 5);
  EXPECT_EQ(r.incomingCount, 7);
  EXPECT_EQ(r.outgoingCount, 6);
  EXPECT_EQ(r.undirectedCount, 8);
  EXPECT_EQ(r.orientationStability, 0.5f);
  EXPECT_EQ(r.reversed().cmpDirection[0], forward);
  EXPECT_EQ(r.reversed().incomingCount, 6);
}
