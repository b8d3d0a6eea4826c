#include "containers/edge_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(EdgeDir, ReverseSwapsTheWaysAndKeepsUndirected) {
  EXPECT_EQ(reverse(forward), backward);
  EXPECT_EQ(reverse(backward), forward);
  EXPECT_EQ(reverse(undirected), undirected);
  for (EdgeDir d : {undirected, backward, forward}) EXPECT_EQ(reverse(reverse(d)), d);
  // A value written from outside the enumeration reads back as undirected.
  EXPECT_EQ(reverse(static_cast<EdgeDir>(3)), undirected);
  EXPECT_EQ(reverse(static_cast<EdgeDir>(-1)), undirected);
  EXPECT_EQ(reverse(static_cast<EdgeDir>(1000)), undirected);
  EXPECT_EQ(static_cast<int>(undirected), 0);
  EXPECT_EQ(static_cast<int>(backward), 1);
  EXPECT_EQ(static_cast<int>(forward), 2);
}

}  // namespace
