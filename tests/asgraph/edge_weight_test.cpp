#include "asgraph/edge_weight.h"

#include <gtest/gtest.h>

#include "ip/ip_prefix.h"

TEST(ASEdgeWeight, DefaultsMatchTheGraphFile) {
  ASEdgeWeight w;
  EXPECT_FALSE(w.oriented);
  EXPECT_EQ(w.pathCovering[0], 0u);
  EXPECT_EQ(w.pathCovering[1], 0u);
  EXPECT_EQ(w.ipCovering[0], 0u);
  EXPECT_EQ(w.ipCovering[1], 0u);
  EXPECT_TRUE(w.lastPrefix == IPPrefix());
  EXPECT_FALSE(w.cmpOriented[0]);
  EXPECT_FALSE(w.cmpOriented[1]);
  EXPECT_EQ(w.cmpDirection[0], undirected);
  EXPECT_EQ(w.cmpDirection[1], undirected);
  EXPECT_EQ(w.comparedGraphs, 1);
  EXPECT_EQ(w.incomingCount, 0);
  EXPECT_EQ(w.outgoingCount, 0);
  EXPECT_EQ(w.undirectedCount, 0);
  EXPECT_EQ(w.unorientedCount, 0);
  EXPECT_EQ(w.orientationStability, 0.0f);
  EXPECT_EQ(w.orientationChanges, 0);
}

namespace {
ASEdgeWeight distinctWeight() {
  ASEdgeWeight w;
  w.oriented = true;
  w.pathCovering[0] = 1;
  w.pathCovering[1] = 2;
  w.ipCovering[0] = 3;
  w.ipCovering[1] = 4;
  w.lastPrefix = IPPrefix(IPAddress(10, 0, 0, 0), IPNetmask(8));
  w.cmpOriented[1] = true;
  w.cmpDirection[0] = forward;
  w.cmpDirection[1] = backward;
  w.comparedGraphs = 5;
  w.incomingCount = 6;
  w.outgoingCount = 7;
  w.undirectedCount = 8;
  w.unorientedCount = 9;
  w.orientationStability = 0.25f;
  w.orientationChanges = 10;
  return w;
}

void expectDistinct(const ASEdgeWeight& w) {
  EXPECT_TRUE(w.oriented);
  EXPECT_EQ(w.pathCovering[0], 1u);
  EXPECT_EQ(w.pathCovering[1], 2u);
  EXPECT_EQ(w.ipCovering[0], 3u);
  EXPECT_EQ(w.ipCovering[1], 4u);
  EXPECT_TRUE(w.lastPrefix == IPPrefix(IPAddress(10, 0, 0, 0), IPNetmask(8)));
  EXPECT_FALSE(w.cmpOriented[0]);
  EXPECT_TRUE(w.cmpOriented[1]);
  EXPECT_EQ(w.cmpDirection[0], forward);
  EXPECT_EQ(w.cmpDirection[1], backward);
  EXPECT_EQ(w.comparedGraphs, 5);
  EXPECT_EQ(w.incomingCount, 6);
  EXPECT_EQ(w.outgoingCount, 7);
  EXPECT_EQ(w.undirectedCount, 8);
  EXPECT_EQ(w.unorientedCount, 9);
  EXPECT_EQ(w.orientationStability, 0.25f);
  EXPECT_EQ(w.orientationChanges, 10);
}
}  // namespace

TEST(ASEdgeWeight, CopyAndAssignmentTakeEveryField) {
  ASEdgeWeight source = distinctWeight();
  ASEdgeWeight copy(source);
  expectDistinct(copy);
  ASEdgeWeight assigned;
  ASEdgeWeight& result = (assigned = source);
  EXPECT_EQ(&result, &assigned);
  expectDistinct(assigned);
  ASEdgeWeight& same = assigned;
  assigned = same;
  expectDistinct(assigned);
}

TEST(ASEdgeWeight, CopyOwnsItsPrefix) {
  ASEdgeWeight source = distinctWeight();
  ASEdgeWeight copy(source);
  copy.lastPrefix = IPPrefix(IPAddress(192, 168, 0, 0), IPNetmask(16));
  EXPECT_TRUE(source.lastPrefix == IPPrefix(IPAddress(10, 0, 0, 0), IPNetmask(8)));
}
