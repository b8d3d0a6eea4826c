#include "parsers/as_path_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/mrt_writer.h"

using mrtw::Bytes;
using mrtw::segment;

namespace {

TEST(ASPathDecoderTest, SequencesKeptSetsAndConfederationsLeftOut) {
  struct Case {
    const char* name;
    Bytes asPath;
    int width;
    std::vector<ASNumber> path;
    bool dropped;
    bool wide;
  } cases[] = {
      {"empty", Bytes(), 2, {}, false, false},
      {"two sequences",
       Bytes().add(segment(2, {1, 2}, 2)).add(segment(2, {3}, 2)),
       2,
       {1, 2, 3},
       false,
       false},
      {"set at the end",
       Bytes().add(segment(2, {1, 2}, 4)).add(segment(1, {7, 8}, 4)),
       4,
       {1, 2},
       true,
       false},
      {"confederation first",
       Bytes().add(segment(3, {64512}, 4)).add(segment(4, {64513}, 4)).add(segment(2, {5}, 4)),
       4,
       {5},
       true,
       false},
      {"4-byte AS", segment(2, {4200000000u, 1}, 4), 4, {4200000000u, 1}, false, true},
  };
  for (const Case& c : cases) {
    MrtEntry entry;
    entry.path = {99};
    entry.droppedSegments = entry.pathHasWideAS = true;
    EXPECT_EQ(
        decodeASPath(ByteCursor(c.asPath.data.data(), c.asPath.size()), c.width, nullptr, entry),
        nullptr)
        << c.name;
    EXPECT_EQ(entry.path, c.path) << c.name;
    EXPECT_EQ(entry.droppedSegments, c.dropped) << c.name;
    EXPECT_EQ(entry.pathHasWideAS, c.wide) << c.name;
  }
}

TEST(ASPathDecoderTest, AS4PathMergeCountsSetsAsOneAndConfederationsAsNone) {
  const std::uint32_t T = 23456;  // AS_TRANS
  struct Case {
    const char* name;
    Bytes asPath;
    Bytes as4Path;
    std::vector<ASNumber> path;
  } cases[] = {
      {"same length: AS4_PATH replaces all",
       segment(2, {T, T}, 2),
       segment(2, {70000, 80000}, 4),
       {70000, 80000}},
      {"shorter: leading ASes of AS_PATH first",
       segment(2, {701, 1239, T}, 2),
       segment(2, {1239, 70000}, 4),
       {701, 1239, 70000}},
      {"longer: ignored", segment(2, {701, T}, 2), segment(2, {1, 2, 3}, 4), {701, 23456}},
      {"malformed: ignored", segment(2, {701, T}, 2), Bytes().u8(2).u8(5).u32(1), {701, 23456}},
      {"set counts one",
       Bytes().add(segment(2, {701, T}, 2)).add(segment(1, {5, 6, 7}, 2)),
       segment(2, {70000, 80000}, 4),
       {701, 70000, 80000}},
      {"confederation counts none",
       Bytes().add(segment(3, {65000, 65001}, 2)).add(segment(2, {701, T}, 2)),
       segment(2, {70000}, 4),
       {701, 70000}},
      {"empty AS4_PATH keeps AS_PATH", segment(2, {701, 1}, 2), Bytes(), {701, 1}},
  };
  for (const Case& c : cases) {
    MrtEntry entry;
    const ByteCursor as4(c.as4Path.data.data(), c.as4Path.size());
    EXPECT_EQ(decodeASPath(ByteCursor(c.asPath.data.data(), c.asPath.size()), 2, &as4, entry),
              nullptr)
        << c.name;
    EXPECT_EQ(entry.path, c.path) << c.name;
  }
}

TEST(ASPathDecoderTest, MalformedPathsSayWhy) {
  struct Case {
    Bytes asPath;
    int width;
    const char* problem;
  } cases[] = {
      {Bytes().u8(2), 2, "AS_PATH segment header cut short"},
      {Bytes().u8(0).u8(1).u16(5), 2, "unknown AS_PATH segment type"},
      {Bytes().u8(2).u8(2).u32(5), 4, "AS_PATH segment longer than its attribute"},
      {Bytes().u8(2).u8(2).u32(5), 2, nullptr},  // the same bytes hold two 2-byte ASes
  };
  for (const Case& c : cases) {
    MrtEntry entry;
    const char* problem =
        decodeASPath(ByteCursor(c.asPath.data.data(), c.asPath.size()), c.width, nullptr, entry);
    EXPECT_STREQ(problem, c.problem);
  }
}

}  // namespace
