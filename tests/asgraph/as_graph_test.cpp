#include "asgraph/as_graph.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

TEST(ASGraph, StartsEmpty) {
  ASGraph g;
  EXPECT_STREQ(g.errReason(), "");
  EXPECT_STREQ(g.getComment(), "");
  EXPECT_TRUE(g.getSourceFiles().isEmpty());
  EXPECT_FALSE(g.isDifferential());
  EXPECT_STREQ(ASGraph::graphMarker, "VGR");
  EXPECT_STREQ(ASGraph::diffGraphMarker, "VDG");
}

TEST(ASGraph, DirectionNumbers) {
  const struct {
    EdgeDir direction;
    int value;
  } table[] = {{undirected, 0}, {backward, -1}, {forward, 1}};
  for (const auto& row : table) {
    EXPECT_EQ(ASGraph::dirToVal(row.direction), row.value);
    EXPECT_EQ(ASGraph::valToDir(row.value), row.direction);
  }
  EXPECT_EQ(ASGraph::dirToVal(static_cast<EdgeDir>(3)), 0);
  EXPECT_EQ(ASGraph::valToDir(2), undirected);
  EXPECT_EQ(ASGraph::valToDir(-2), undirected);
}

TEST(ASGraph, SetSourceFilesSkipsNullSlotsAndCopies) {
  ASGraph g;
  char* files[100] = {};
  char a[] = "a.txt";
  char b[] = "b.txt";
  files[3] = a;
  files[99] = b;
  g.setSourceFiles(files, false);
  a[0] = 'X';  // the graph holds its own copies
  g.setSourceFiles(files, false);
  List<char*>& list = g.getSourceFiles();
  ASSERT_EQ(list.len(), 4u);
  const char* expected[] = {"a.txt", "b.txt", "X.txt", "b.txt"};
  list.goToFirst();
  for (const char* name : expected) {
    EXPECT_STREQ(list.current(), name);
    list.next();
  }
  g.setSourceFiles(files, true);
  EXPECT_EQ(list.len(), 2u);
  EXPECT_STREQ(list.first(), "X.txt");
}

TEST(ASGraph, SetSourceFilesFromList) {
  ASGraph g;
  List<char*> names;
  char a[] = "one";
  char b[] = "two";
  names.enqueue(a);
  names.enqueue(b);
  g.setSourceFiles(names, false);
  g.setSourceFiles(names, true);
  EXPECT_EQ(g.getSourceFiles().len(), 2u);
  EXPECT_NE(g.getSourceFiles().first(), a);
  // Its own list as the source: reset keeps it, appending repeats each name once.
  g.setSourceFiles(g.getSourceFiles(), true);
  EXPECT_EQ(g.getSourceFiles().len(), 2u);
  g.setSourceFiles(g.getSourceFiles(), false);
  EXPECT_EQ(g.getSourceFiles().len(), 4u);
  EXPECT_STREQ(g.getSourceFiles().first(), "one");
}

TEST(ASGraph, CommentIsCutAt512) {
  ASGraph g;
  std::string text(600, 'c');
  g.setComment(text.c_str());
  EXPECT_EQ(std::strlen(g.getComment()), 512u);
  g.setComment("short");
  EXPECT_STREQ(g.getComment(), "short");
}
