#include "parsers/mrt_route_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Added {
  std::uint32_t address;
  std::uint8_t length;
  std::vector<ASNumber> path;
};

// Each route taken out as "a.b.c.d/len path...".
std::vector<std::string> sorted(const std::vector<Added>& routes, std::size_t memory,
                                std::uint64_t* runs = nullptr) {
  MrtRouteSort sort(memory);
  for (const Added& r : routes) {
    EXPECT_TRUE(sort.add(r.address, r.length, r.path.data(), r.path.size()));
  }
  EXPECT_TRUE(sort.finish());
  std::vector<std::string> out;
  MrtRouteSort::Route route;
  while (sort.next(route)) {
    std::string text = std::to_string(route.address >> 24) + "." +
                       std::to_string((route.address >> 16) & 255) + "." +
                       std::to_string((route.address >> 8) & 255) + "." +
                       std::to_string(route.address & 255) + "/" + std::to_string(route.length);
    for (std::uint32_t k = 0; k < route.pathLength; ++k) {
      text += " " + std::to_string(route.path[k]);
    }
    out.push_back(text);
  }
  EXPECT_FALSE(sort.failed()) << sort.reason();
  if (runs != nullptr) *runs = sort.runsWritten();
  return out;
}

// The order is the merge's whether the routes stay in memory or go through runs on disk: the
// address without host bits, the longer prefix first, and routes of one prefix as added, even
// when they lie in different runs.
TEST(MrtRouteSortTest, SameOrderInMemoryAndSpilled) {
  const std::vector<Added> routes = {
      {0x0B000000, 8, {1, 2}},   {0x0A000000, 8, {3}},  {0x0A000000, 16, {4, 5, 6}},
      {0x0A0000FF, 24, {7}},     {0x0A000000, 8, {8}},  {0x00000000, 0, {}},
      {0x0A000000, 24, {9, 10}}, {0x0A000000, 8, {11}},
  };
  const std::vector<std::string> expected = {
      "0.0.0.0/0",    "10.0.0.255/24 7", "10.0.0.0/24 9 10", "10.0.0.0/16 4 5 6",
      "10.0.0.0/8 3", "10.0.0.0/8 8",    "10.0.0.0/8 11",    "11.0.0.0/8 1 2",
  };
  std::uint64_t runs = 0;
  EXPECT_EQ(sorted(routes, MrtRouteSort::kDefaultMemory, &runs), expected);
  EXPECT_EQ(runs, 0u);
  for (std::size_t memory : {1u, 100u}) {
    EXPECT_EQ(sorted(routes, memory, &runs), expected) << memory;
    EXPECT_GT(runs, 1u);
  }
}

}  // namespace
