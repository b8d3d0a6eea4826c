#include "asgraph/graph_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "io/line_reader.h"

namespace {

// Reads text as a graph file into g; returns readFromFile's result.
bool readText(ASGraph& g, const std::string& text, AcceptedGraphs accepted = AcceptedGraphs::ipv4) {
  FILE* f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  bool ok = g.readFromFile(f, ASWidth{}, accepted);
  std::fclose(f);
  return ok;
}

// The graph file writeToFile produces for g.
std::string writeText(ASGraph& g) {
  FILE* f = std::tmpfile();
  EXPECT_TRUE(g.writeToFile(f)) << g.errReason();
  std::string text;
  std::rewind(f);
  int c;
  while ((c = std::fgetc(f)) != EOF) text += static_cast<char>(c);
  std::fclose(f);
  return text;
}

ASEdgeWeight covering(unsigned long paths, unsigned long long addresses) {
  ASEdgeWeight w;
  w.pathCovering = static_cast<std::uint32_t>(paths);
  w.ipCovering = addresses;
  return w;
}

const char kHeader[] = "VGR\n1\nsrc\n\n";

}  // namespace
TEST(GraphFile, WritesPlainGraphNodesAscendingEdgesFromSmallerAS) {
  ASGraph g;
  for (ASNumber as : {7018, 701, 1239, 5}) g.addNode(as, as);
  // Added from the larger AS: written from 701 with the weights swapped and direction reversed.
  ASEdgeWeight w = covering(4294967295ul, 4294967296ull);
  w.oriented = true;
  ASEdgeWeight back = covering(2, 256);
  back.oriented = true;  // the flag is taken from the smaller AS's own way
  g.addEdge(7018, 701, forward, w, back);
  g.addEdge(701, 1239, undirected, covering(0, 0), covering(1, 16777216));
  g.addEdge(5, 5, backward, covering(9, 9), covering(8, 8));
  char* files[100] = {};
  char name[] = "paths.txt";
  files[0] = name;
  g.setSourceFiles(files, false);
  g.setComment("a comment");
  EXPECT_EQ(writeText(g),
            "VGR\n1\npaths.txt\na comment\n4\n3\n5\n701\n1239\n7018\n"
            "5 5 0 -1 9 9 8 8\n"
            "701 1239 0 0 0 0 1 16777216\n"
            "701 7018 1 -1 2 256 4294967295 4294967296\n");
}

TEST(GraphFile, WritesZeroSourceFilesAndEmptyComment) {
  ASGraph g;
  EXPECT_EQ(writeText(g), "VGR\n0\n\n0\n0\n");
}

TEST(GraphFile, DefaultWeightInDifferentialGraph) {
  ASGraph g;
  g.isDifferential() = true;
  g.addNode(1, 1);
  g.addNode(2, 2);
  g.addEdge(1, 2, undirected, ASEdgeWeight(), ASEdgeWeight());
  EXPECT_EQ(writeText(g),
            "VDG\n0\n\n2\n1\n1\n2\n"
            "1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0.000000\n");
}

// The comparison fields are kept per edge; given from either end, they are written from the
// smaller AS.
TEST(GraphFile, DifferentialFieldsAreWrittenFromTheSmallerAS) {
  ASEdgeComparison c;
  c.pathCovering = 20;
  c.ipCovering = 21;
  c.reversePathCovering = 22;
  c.reverseIpCovering = 23;
  c.cmpOriented[1] = true;
  c.cmpDirection[0] = backward;
  c.cmpDirection[1] = forward;
  c.comparedGraphs = 2;
  c.incomingCount = 3;
  c.outgoingCount = 4;
  c.undirectedCount = 5;
  c.unorientedCount = 6;
  c.orientationChanges = 7;
  c.orientationStability = 0.5f;
  for (ASNumber from : {1u, 2u}) {
    ASGraph g;
    g.isDifferential() = true;
    g.addNode(1, 1);
    g.addNode(2, 2);
    g.addEdge(1, 2, forward, covering(10, 11), covering(12, 13));
    const ASGraph::edge e = g.storedEdge(from, 3 - from);
    g.setComparison(e, from == 1 ? c : c.reversed());
    EXPECT_EQ(g.comparison(e).incomingCount, from == 1 ? 3 : 4);
    EXPECT_EQ(writeText(g),
              "VDG\n0\n\n2\n1\n1\n2\n"
              "1 2 0 1 10 11 12 13 0 1 -1 1 20 21 22 23 2 3 4 5 6 7 0.500000\n");
  }
}

TEST(GraphFile, ReadsDifferentialFieldsIntoBothWays) {
  ASGraph g;
  ASSERT_TRUE(readText(g,
                       "VDG\n1\nsrc\ncmt\n2\n1\n2\n1\n"
                       "1 2 1 1 10 11 12 13 0 1 -1 1 20 21 22 23 2 3 4 5 6 7 0.5\n"))
      << g.errReason();
  EXPECT_TRUE(g.isDifferential());
  EXPECT_STREQ(g.getComment(), "cmt");
  ASGraph::GraphEdge* e = g.edgeProperties(1, 2);
  ASSERT_NE(e, nullptr);
  const ASEdgeWeight& w1 = *e->weight;
  const ASEdgeWeight& w2 = *e->reverseWeight;
  EXPECT_EQ(*e->direction, forward);
  EXPECT_TRUE(w1.oriented && w2.oriented);
  EXPECT_EQ(w1.pathCovering, 10u);
  EXPECT_EQ(w1.ipCovering, 11u);
  EXPECT_EQ(w2.pathCovering, 12u);
  EXPECT_EQ(w2.ipCovering, 13u);
  // Seen from 2 the directions turn and the ways and the incoming and outgoing counts swap.
  const ASEdgeComparison c1 = g.comparison(g.storedEdge(1, 2));
  const ASEdgeComparison c2 = g.comparison(g.storedEdge(2, 1));
  EXPECT_EQ(c1.pathCovering, 20u);
  EXPECT_EQ(c1.ipCovering, 21u);
  EXPECT_EQ(c1.reversePathCovering, 22u);
  EXPECT_EQ(c1.reverseIpCovering, 23u);
  EXPECT_EQ(c2.pathCovering, 22u);
  EXPECT_EQ(c2.reverseIpCovering, 21u);
  for (const ASEdgeComparison* c : {&c1, &c2}) {
    EXPECT_FALSE(c->cmpOriented[0]);
    EXPECT_TRUE(c->cmpOriented[1]);
    EXPECT_EQ(c->comparedGraphs, 2);
    EXPECT_EQ(c->undirectedCount, 5);
    EXPECT_EQ(c->unorientedCount, 6);
    EXPECT_EQ(c->orientationChanges, 7);
    EXPECT_EQ(c->orientationStability, 0.5f);
  }
  EXPECT_EQ(c1.cmpDirection[0], backward);
  EXPECT_EQ(c1.cmpDirection[1], forward);
  EXPECT_EQ(c2.cmpDirection[0], forward);
  EXPECT_EQ(c2.cmpDirection[1], backward);
  EXPECT_EQ(c1.incomingCount, 3);
  EXPECT_EQ(c1.outgoingCount, 4);
  EXPECT_EQ(c2.incomingCount, 4);
  EXPECT_EQ(c2.outgoingCount, 3);
  delete e->from;
  delete e->to;
  delete e;
}

TEST(GraphFile, ThirtyTwoBitFieldsSaturateAndCountersKeepTheLow16Bits) {
  ASGraph g;
  ASSERT_TRUE(readText(g,
                       "VDG\n1\ns\n\n2\n1\n1\n2\n"
                       "1 2 0 0 4294967297 18446744073709551615 -1 0 0 0 0 0 0 0 0 0 "
                       "65537 65536 4294967296 -4294967295 1 1 1e300\n"));
  auto* e = g.edgeProperties(1, 2);
  EXPECT_EQ(e->weight->pathCovering, 4294967295u);
  EXPECT_EQ(e->weight->ipCovering, 18446744073709551615ull);
  EXPECT_EQ(e->reverseWeight->pathCovering, 4294967295u);
  const ASEdgeComparison c = g.comparison(g.storedEdge(1, 2));
  EXPECT_EQ(c.comparedGraphs, 1);
  EXPECT_EQ(c.incomingCount, 0);
  EXPECT_EQ(c.outgoingCount, 65535);
  EXPECT_EQ(c.undirectedCount, 1);
  EXPECT_TRUE(c.orientationStability > 3e38f);
  delete e->from;
  delete e->to;
  delete e;
}

TEST(GraphFile, StabilityRoundsToTheNearestFloat) {
  const struct {
    const char* token;
    const char* written;
  } table[] = {
      {"0.1", "0.100000"},
      {"3.4028235e38", "340282346638528859811704183484516925440.000000"},
      {"-3.4028235e38", "-340282346638528859811704183484516925440.000000"},
      {"3.4028236e38", "inf"},
      {"-1e300", "-inf"},
  };
  for (const auto& row : table) {
    ASGraph g;
    ASSERT_TRUE(readText(g, std::string("VDG\n1\ns\n\n2\n1\n1\n2\n"
                                        "1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 ") +
                                row.token + "\n"));
    const std::string text = writeText(g);
    EXPECT_EQ(text.substr(text.rfind(' ') + 1), std::string(row.written) + "\n") << row.token;
  }
}

TEST(GraphFile, RoundTripKeepsEverythingButLastPrefix) {
  for (bool differential : {false, true}) {
    const std::string text = std::string(differential ? "VDG" : "VGR") +
                             "\n2\nfirst file\nsecond file\nthe comment\n3\n2\n1\n2\n65535\n"
                             "1 65535 1 -1 5 6 7 8" +
                             (differential ? " 1 0 1 -1 9 10 11 12 3 1 2 0 4 6 0.333333" : "") +
                             "\n2 1 0 0 4294967295 18446744073709551615 0 1" +
                             (differential ? " 0 0 0 0 0 0 0 0 1 0 0 0 0 0 -0.000000" : "") + "\n";
    ASGraph g;
    ASSERT_TRUE(readText(g, text)) << g.errReason();
    const std::string written = writeText(g);
    ASGraph again;
    ASSERT_TRUE(readText(again, written)) << again.errReason();
    EXPECT_EQ(writeText(again), written);
    // Written from the smaller AS, so the second line comes back turned around.
    std::string expected = text;
    expected.replace(expected.find("2 1 0 0 4294967295 18446744073709551615 0 1"), 43,
                     "1 2 0 0 0 1 4294967295 18446744073709551615");
    size_t edge2 = expected.find("1 2 0 0");
    size_t edge1 = expected.find("1 65535");
    std::string line1 = expected.substr(edge1, edge2 - edge1);
    std::string line2 = expected.substr(edge2);
    expected = expected.substr(0, edge1) + line2 + line1;
    EXPECT_EQ(written, expected);
  }
}

TEST(GraphFile, LongLinesSurviveRoundTrip) {
  ASGraph g;
  std::string name(2000, 'n');
  std::string comment(512, 'c');
  char* files[100] = {};
  files[0] = &name[0];
  g.setSourceFiles(files, false);
  g.setComment(comment.c_str());
  g.addNode(3, 3);
  std::string text = writeText(g);
  ASGraph back;
  ASSERT_TRUE(readText(back, text)) << back.errReason();
  EXPECT_EQ(std::string(back.getSourceFiles().first()), name);
  EXPECT_EQ(std::string(back.getComment()), comment);
  EXPECT_EQ(back.nodes(), 1u);

  ASGraph cut;
  ASSERT_TRUE(readText(cut, "VGR\n1\ns\n" + std::string(600, 'x') + "\n0\n0\n"));
  EXPECT_EQ(std::string(cut.getComment()), std::string(512, 'x'));
}

TEST(GraphFile, CarriageReturnsAreAccepted) {
  ASGraph g;
  ASSERT_TRUE(readText(g,
                       "VDG\r\n1\r\nsrc\r\ncomment\r\n2\r\n1\r\n1\r\n2\r\n"
                       "1 2 1 1 1 2 3 4 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0.250000\r\n"))
      << g.errReason();
  EXPECT_STREQ(g.getSourceFiles().first(), "src");
  EXPECT_STREQ(g.getComment(), "comment");
  EXPECT_EQ(writeText(g),
            "VDG\n1\nsrc\ncomment\n2\n1\n1\n2\n"
            "1 2 1 1 1 2 3 4 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0.250000\n");
}

TEST(GraphFile, PlainReaderIgnoresDifferentialFields) {
  ASGraph g;
  ASSERT_TRUE(readText(
      g,
      std::string(kHeader) + "2\n1\n1\n2\n1  2 0 1 3 4 5 6 1 1 1 1 9 9 9 9 7 7 7 7 7 7 0.9 junk\n"))
      << g.errReason();
  auto* e = g.edgeProperties(2, 1);
  EXPECT_EQ(*e->direction, backward);
  EXPECT_EQ(e->weight->pathCovering, 5u);
  EXPECT_EQ(e->reverseWeight->ipCovering, 4u);
  const ASEdgeComparison c = g.comparison(g.storedEdge(2, 1));
  EXPECT_EQ(c.pathCovering, 0u);
  EXPECT_FALSE(c.cmpOriented[0]);
  EXPECT_EQ(c.comparedGraphs, 1);
  EXPECT_EQ(c.orientationStability, 0.0f);
  delete e->from;
  delete e->to;
  delete e;
}

TEST(GraphFile, EdgesToUnknownNodesAreDroppedAndRepeatsGoThroughAddEdge) {
  ASGraph g;
  ASSERT_TRUE(readText(g, std::string(kHeader) + "3\n4\n1\n2\n2\n"
                                                 "1 3 0 1 0 0 0 0\n"
                                                 "1 2 1 1 1 1 1 1\n"
                                                 "2 +1 1 +1 2 2 2 2\n"
                                                 "2 1 0 0 5 5 5 5\n"))
      << g.errReason();
  EXPECT_EQ(g.nodes(), 2u);
  EXPECT_EQ(g.edges(), 1u);
  // Forward from 1, then forward from 2: opposite ways leave it undirected with the second
  // line's weights; undirected again changes nothing.
  EXPECT_EQ(writeText(g), "VGR\n1\nsrc\n\n2\n1\n1\n2\n1 2 1 0 2 2 2 2\n");
}

// A repeated edge line keeps or replaces the comparison fields along with the weights.
TEST(GraphFile, RepeatedDifferentialEdgeKeepsFieldsWithItsWeights) {
  const std::string head = "VDG\n1\nsrc\n\n2\n2\n1\n2\n";
  const std::string written = "VDG\n1\nsrc\n\n2\n1\n1\n2\n";
  const std::string first = "1 2 1 1 1 1 1 1 0 0 0 0 0 0 0 0 1 2 3 0 0 0 0.500000\n";
  ASGraph kept;
  ASSERT_TRUE(readText(kept, head + first + "2 1 1 -1 9 9 9 9 1 1 1 1 9 9 9 9 9 9 9 9 9 9 9\n"));
  EXPECT_EQ(writeText(kept), written + first);
  ASGraph replaced;
  ASSERT_TRUE(
      readText(replaced, head + first + "2 1 1 1 5 6 7 8 1 0 1 0 1 2 3 4 2 5 6 0 0 0 0.25\n"));
  EXPECT_EQ(writeText(replaced),
            written + "1 2 1 0 7 8 5 6 1 0 -1 0 3 4 1 2 2 6 5 0 0 0 0.250000\n");
}

TEST(GraphFile, AnnouncedEdgeCountDecides) {
  const std::string body = std::string(kHeader) + "2\nN\n1\n2\n1 2 0 0 0 0 0 0\n1 2 0 0 0 0 0 0\n";
  ASGraph three;
  std::string text = body;
  text.replace(text.find('N'), 1, "3");
  EXPECT_FALSE(readText(three, text));
  EXPECT_STREQ(three.errReason(), "Unable to retrieve all the edges");
  ASGraph one;
  text = body;
  text.replace(text.find('N'), 1, "1");
  EXPECT_TRUE(readText(one, text + "not an edge\n"));
  EXPECT_EQ(one.edges(), 1u);
}

TEST(GraphFile, SourceFileCountLimits) {
  const struct {
    long count;
    bool ok;
  } table[] = {{0, false}, {1, true}, {65536, true}, {65537, false}};
  for (const auto& row : table) {
    std::string text = "VGR\n" + std::to_string(row.count) + "\n";
    for (long i = 0; i < row.count; ++i) text += "f\n";
    text += "\n0\n0\n";
    ASGraph g;
    EXPECT_EQ(readText(g, text), row.ok) << row.count;
    if (row.ok) {
      EXPECT_EQ(g.getSourceFiles().len(), static_cast<unsigned long long>(row.count));
    } else {
      EXPECT_EQ(std::string(g.errReason()),
                "Invalid number of source files: `" + std::to_string(row.count) + "'");
    }
  }
}

TEST(GraphFile, ReaderFailureMessages) {
  const std::string h = kHeader;
  const std::string plain = h + "2\n1\n1\n2\n";
  const std::string diff = "VDG\n1\nsrc\n\n2\n1\n1\n2\n";
  const std::string diffPlain = diff + "1 2 0 0 0 0 0 0 ";
  const struct {
    std::string input;
    const char* reason;
  } table[] = {
      {"", "Could not retrieve file type string"},
      {"VGRX\n", "Invalid file type string: `VGRX'"},
      {"vgr\r\n", "Invalid file type string: `vgr'"},
      {"VGR\n", "Could not retrieve number of source files"},
      {"VGR\nabc\n", "Invalid number of source files: `abc'"},
      {"VGR\n2x\n", "Invalid number of source files: `2x'"},
      {"VGR\n\n", "Invalid number of source files: `'"},
      {"VGR\n-1\n", "Invalid number of source files: `-1'"},
      {"VGR\n2\none\n", "Could not retrieve all the source file names"},
      {"VGR\n1\none\n", "Unable to retrieve graph description string"},
      {"VGR\n1\none\n" + std::string(LineReader::kMaxLineLength - 1, 'c') + "\n",
       "Could not retrieve number of nodes"},
      {"VGR\n1\none\n" + std::string(LineReader::kMaxLineLength, 'c') + "\n",
       "line at byte 10 is longer than 16 MiB"},
      {h, "Could not retrieve number of nodes"},
      {h + "1 \n", "Invalid number of nodes: `1 '"},
      {h + "1\n", "Could not retrieve number of edges"},
      {h + "1\nx\n", "Invalid number of edges: `x'"},
      {h + "2\n0\n1\n", "Unable to retrieve all the nodes"},
      {h + "4294967296\n0\n", "Unable to retrieve all the nodes"},
      {h + "-\n0\n", "Invalid number of nodes: `-'"},
      {h + "1\n0\n0\n", "Invalid AS number: `0'"},
      {h + "1\n0\n65536\n", "Invalid AS number: `65536'"},
      {h + "1\n0\n12a\n", "Invalid AS number: `12a'"},
      {h + "1\n0\n\n", "Invalid AS number: `'"},
      {plain, "Unable to retrieve all the edges"},
      {plain + "\n", "Invalid edge line format: `'"},
      {plain + "1 2 0 0 0 0 0\n", "Invalid edge line format: `1 2 0 0 0 0 0'"},
      {plain + "0 2 0 0 0 0 0 0\n", "Invalid AS number: `0'"},
      {plain + "1 70000 0 0 0 0 0 0\n", "Invalid AS number: `70000'"},
      {plain + "1\t2 0 0 0 0 0 0\n", "Invalid AS number: `1\t2'"},
      {plain + "1 2 01 0 0 0 0 0\n", "Invalid edge direction flag: `01'"},
      {plain + "1 2 2 0 0 0 0 0\n", "Invalid edge direction flag: `2'"},
      {plain + "1 2 0 2 0 0 0 0\n", "Invalid edge direction: `2'"},
      {plain + "1 2 0 1x 0 0 0 0\n", "Invalid edge direction: `1x'"},
      {plain + "1 2 0 0 1.5 0 0 0\n", "Invalid path covering value: `1.5'"},
      {plain + "1 2 0 0 0 x 0 0\n", "Invalid IP address covering value: `x'"},
      {plain + "1 2 0 0 0 0 y 0\n", "Invalid path covering value: `y'"},
      {plain + "1 2 0 0 0 0 0 z\n", "Invalid IP address covering value: `z'"},
      {diffPlain + "\n", "Invalid edge line format: `1 2 0 0 0 0 0 0 '"},
      {diffPlain + "0 2 0 0 0 0 0 0 1 0 0 0 0 0 0\n", "Invalid edge direction flag: `2'"},
      {diffPlain + "0 0 0 -2 0 0 0 0 1 0 0 0 0 0 0\n", "Invalid edge direction: `-2'"},
      {diffPlain + "0 0 0 0 a 0 0 0 1 0 0 0 0 0 0\n", "Invalid path covering value: `a'"},
      {diffPlain + "0 0 0 0 0 0 0 b 1 0 0 0 0 0 0\n", "Invalid IP address covering value: `b'"},
      {diffPlain + "0 0 0 0 0 0 0 0 c 0 0 0 0 0 0\n", "Invalid compared graphs count value: `c'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 d 0 0 0 0 0\n",
       "Invalid value for number of incoming edges: `d'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 0 e 0 0 0 0\n",
       "Invalid value for number of outgoing edges: `e'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 0 0 f 0 0 0\n",
       "Invalid value for number of undirected edges: `f'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 0 0 0 g 0 0\n",
       "Invalid value for number of unoriented edges: `g'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 0 0 0 0 h 0\n",
       "Invalid value for number of orientation changes: `h'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 0 0 0 0 0 0.5x\n",
       "Invalid value for orientation stability: `0.5x'"},
      {diffPlain + "0 0 0 0 0 0 0 0 1 0 0 0 0 0\n",
       "Invalid edge line format: `1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0'"},
  };
  for (const auto& row : table) {
    ASGraph g;
    EXPECT_FALSE(readText(g, row.input)) << row.input;
    EXPECT_STREQ(g.errReason(), row.reason) << row.input;
  }
}

TEST(GraphFile, FailureKeepsWhatWasRead) {
  ASGraph g;
  char* files[100] = {};
  char earlier[] = "earlier";
  files[0] = earlier;
  g.setSourceFiles(files, false);
  EXPECT_FALSE(readText(g, "VDG\n1\nsrc\nthe comment\n2\n1\n1\n2\n1 2 0 0 0 0 0 0\n"));
  EXPECT_TRUE(g.isDifferential());
  EXPECT_EQ(g.getSourceFiles().len(), 2u);
  EXPECT_STREQ(g.getSourceFiles().first(), "earlier");
  EXPECT_STREQ(g.getComment(), "the comment");
  EXPECT_EQ(g.nodes(), 2u);
  // A later success clears the reason.
  EXPECT_TRUE(readText(g, std::string(kHeader) + "0\n0\n"));
  EXPECT_STREQ(g.errReason(), "");
  EXPECT_FALSE(g.isDifferential());
}

TEST(GraphFile, TypeLineGivesTheFamilyAndOnlyItsRunsReadIt) {
  using A = AcceptedGraphs;
  const AddressFamily v4 = AddressFamily::ipv4;
  const AddressFamily v6 = AddressFamily::ipv6;
  const char* const kVGR =
      "It is an IPv4 graph file (`VGR'): an IPv6 run reads only IPv6 graph "
      "files (`VGR6')";
  const char* const kVDG =
      "It is a differential graph file (`VDG'): an IPv6 run reads only IPv6 "
      "graph files (`VGR6')";
  const struct {
    const char* marker;
    AcceptedGraphs accepted;
    const char* reason;  // empty: read
    AddressFamily family;
  } table[] = {
      {"VGR", A::ipv4, "", v4},
      {"VDG", A::ipv4, "", v4},
      {"VGR6", A::ipv4, "Invalid file type string: `VGR6'", v6},
      {"VGR", A::ipv6, kVGR, v4},
      {"VDG", A::ipv6, kVDG, v4},
      {"VGR6", A::ipv6, "", v6},
      {"VDG6", A::ipv6, "Invalid file type string: `VDG6'", v6},
      {"VGR", A::any, "", v4},
      {"VDG", A::any, "", v4},
      {"VGR6", A::any, "", v6},
      {"VGR6 ", A::any, "Invalid file type string: `VGR6 '", v6},
  };
  for (const auto& row : table) {
    const std::string text = std::string(row.marker) + "\n1\nsrc\n\n2\n0\n1\n2\n";
    ASGraph g;
    // A line that is no type line leaves the family as it was.
    g.setFamily(row.family);
    EXPECT_EQ(readText(g, text, row.accepted), row.reason[0] == '\0') << row.marker;
    EXPECT_STREQ(g.errReason(), row.reason) << row.marker;
    EXPECT_EQ(g.family(), row.family) << row.marker;
    if (row.reason[0] == '\0') {
      EXPECT_EQ(writeText(g), text) << row.marker;
    }
  }
}

TEST(GraphFile, LongQuotedTextIsKeptWhole) {
  const std::string token(5000, '7');
  ASGraph g;
  EXPECT_FALSE(readText(g, std::string(kHeader) + "2\n1\n1\n2\n1 " + token + " 0 0\n"));
  EXPECT_EQ(std::string(g.errReason()), "Invalid AS number: `" + token + "'");
  ASGraph h;
  const std::string line = "1 2 0 0 " + std::string(3000, ' ') + "0";
  EXPECT_FALSE(readText(h, std::string(kHeader) + "2\n1\n1\n2\n" + line + "\n"));
  EXPECT_EQ(std::string(h.errReason()), "Invalid edge line format: `" + line + "'");
}

TEST(GraphFile, NulByteMakesTheGraphInvalid) {
  // The text after a NUL byte would be lost: node 701\08 would read as 701.
  const struct {
    std::string text;
    const char* reason;
  } cases[] = {
      {std::string("VGR\0junk\n1\ns\n\n0\n0\n", 18), "Line contains a NUL byte: `VGR'"},
      {std::string(kHeader) + "2\n0\n7018\n701" + std::string(1, '\0') + "8\n",
       "Line contains a NUL byte: `701'"},
      {std::string(kHeader) + "2\n1\n1\n2\n1 2 0 0 0 0 0 0" + std::string(1, '\0') + "\r\n",
       "Line contains a NUL byte: `1 2 0 0 0 0 0 0'"},
      // After the line end, nothing is looked at.
      {std::string(kHeader) + "1\n0\n9\r" + std::string(1, '\0') + "\n", ""},
  };
  for (const auto& c : cases) {
    ASGraph g;
    EXPECT_EQ(readText(g, c.text), c.reason[0] == '\0');
    EXPECT_STREQ(g.errReason(), c.reason);
  }
}

TEST(GraphFile, WriteFailuresAreReported) {
  FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  ASGraph small;
  small.addNode(1, 1);
  // Everything fits the stream's buffer: the failure shows only on the flush.
  EXPECT_FALSE(small.writeToFile(full));
  EXPECT_STREQ(small.errReason(), "Could not write graph (No space left on device)");
  std::fclose(full);

  full = std::fopen("/dev/full", "w");
  std::setvbuf(full, nullptr, _IONBF, 0);
  ASGraph large;
  for (ASNumber as = 1; as <= 3; ++as) large.addNode(as, as);
  large.addEdge(1, 2, forward, ASEdgeWeight(), ASEdgeWeight());
  EXPECT_FALSE(large.writeToFile(full));
  EXPECT_STREQ(large.errReason(), "Could not write file type string");
  std::fclose(full);
}

namespace {
// A stream that takes the first `room` bytes and then refuses every write.
struct Budget {
  size_t room;
};
ssize_t budgetWrite(void* cookie, const char*, size_t size) {
  Budget* budget = static_cast<Budget*>(cookie);
  if (size > budget->room) {
    errno = ENOSPC;
    return -1;
  }
  budget->room -= size;
  return static_cast<ssize_t>(size);
}
FILE* openBudget(Budget* budget) {
  cookie_io_functions_t io = {nullptr, budgetWrite, nullptr, nullptr};
  FILE* f = fopencookie(budget, "w", io);
  std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}
}  // namespace

TEST(GraphFile, WriteStopsAtTheFailingLine) {
  ASGraph g;
  for (ASNumber as = 1; as <= 3; ++as) g.addNode(as, as);
  g.addEdge(1, 2, forward, ASEdgeWeight(), ASEdgeWeight());
  g.addEdge(2, 3, forward, ASEdgeWeight(), ASEdgeWeight());
  const std::string header = "VGR\n0\n\n3\n2\n";
  const struct {
    size_t room;
    const char* reason;
  } table[] = {
      {0, "Could not write file type string"},
      {4, "Could not write number of source files"},
      {6, "Could not write comment"},
      {7, "Could not write number of nodes"},
      {9, "Could not write number of edges"},
      {header.size() + 2, "Could not write node 2"},
      {header.size() + 6, "Could not write edge 1 2"},
      {header.size() + 6 + 16 + 5, "Could not write edge 2 3"},
  };
  for (const auto& row : table) {
    Budget budget{row.room};
    FILE* f = openBudget(&budget);
    EXPECT_FALSE(g.writeToFile(f)) << row.room;
    EXPECT_STREQ(g.errReason(), row.reason) << row.room;
    std::fclose(f);
  }
  ASGraph named;
  char* files[100] = {};
  char name[] = "x";
  files[0] = name;
  named.setSourceFiles(files, false);
  Budget budget{6};
  FILE* f = openBudget(&budget);
  EXPECT_FALSE(named.writeToFile(f));
  EXPECT_STREQ(named.errReason(), "Unable to write source file names");
  std::fclose(f);
}

// The edge-line parser on its own: which fields a line sets, and the first bad field's message.
TEST(GraphFile, EdgeLineParserFieldsAndMessages) {
  struct Case {
    const char* line;
    bool differential;
    const char* reason;  // "" when the line is good
  } cases[] = {
      {"1 2 1 -1 3 256 4 512", false, ""},
      {"1  2 1 -1 3 256 4 512 extra tokens", false, ""},
      {"1 2 1 -1 3 256 4", false, "Invalid edge line format: `1 2 1 -1 3 256 4'"},
      {"1 2 1 -1 3 256 4 512", true, "Invalid edge line format: `1 2 1 -1 3 256 4 512'"},
      {"0 2 1 -1 3 256 4 512", false, "Invalid AS number: `0'"},
      {"1 2 01 -1 3 256 4 512", false, "Invalid edge direction flag: `01'"},
      {"1 2 1 2 3 256 4 512", false, "Invalid edge direction: `2'"},
      {"1 2 1 -1 3x 256 4 512", false, "Invalid path covering value: `3x'"},
      {"1 2 1 -1 3 256 4 5.5", false, "Invalid IP address covering value: `5.5'"},
      {"1 2 1 -1 3 256 4 512 1 0 1 -1 5 6 7 8 2 9 10 11 12 13 0.5", true, ""},
      {"1 2 1 -1 3 256 4 512 1 0 1 -1 5 6 7 8 2 9 10 11 12 13 0.5x", true,
       "Invalid value for orientation stability: `0.5x'"},
  };
  for (const Case& c : cases) {
    EdgeLineParser parser(ASWidth{});
    EdgeLine edge;
    ASEdgeWeight w1;
    ASEdgeWeight w2;
    ASEdgeComparison comparison;
    std::string line = c.line;
    std::string reason;
    const bool ok = parser.parse(&line[0], c.differential, edge, w1, w2, comparison, reason);
    EXPECT_EQ(ok, c.reason[0] == '\0') << c.line;
    EXPECT_EQ(reason, c.reason) << c.line;
    if (!ok) continue;
    EXPECT_EQ(edge.from, 1u);
    EXPECT_EQ(edge.to, 2u);
    EXPECT_EQ(edge.direction, backward);
    EXPECT_TRUE(w1.oriented && w2.oriented);
    EXPECT_EQ(w1.ipCovering, 256u);
    EXPECT_EQ(w2.ipCovering, 512u);
    // A plain line leaves the comparison fields alone.
    EXPECT_EQ(comparison.incomingCount, c.differential ? 9 : 0);
    EXPECT_EQ(comparison.cmpDirection[1], c.differential ? backward : undirected);
    EXPECT_EQ(comparison.reverseIpCovering, c.differential ? 8u : 0u);
  }
}
