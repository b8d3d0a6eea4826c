#include "parsers/mrt_route_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/route_text.h"

namespace {

std::string text(const MrtIPv4Prefix& p) {
  return std::to_string(p.address >> 24) + "." + std::to_string((p.address >> 16) & 255) + "." +
         std::to_string((p.address >> 8) & 255) + "." + std::to_string(p.address & 255) + "/" +
         std::to_string(p.length);
}

std::string text(const IPv6Prefix& p) { return ipv6PrefixText(p); }

template <class Prefix>
struct Added {
  Prefix prefix;
  std::vector<ASNumber> path;
};

// Each route taken out as "prefix path...".
template <class Prefix>
std::vector<std::string> sorted(const std::vector<Added<Prefix>>& routes, std::size_t memory,
                                std::uint64_t* runs) {
  MrtRouteSortOf<Prefix> sort(memory);
  for (const Added<Prefix>& r : routes) {
    EXPECT_TRUE(sort.add(r.prefix, r.path.data(), r.path.size()));
  }
  EXPECT_TRUE(sort.finish());
  std::vector<std::string> out;
  typename MrtRouteSortOf<Prefix>::Route route;
  while (sort.next(route)) {
    std::string line = text(route.prefix);
    for (std::uint32_t k = 0; k < route.pathLength; ++k)
      line += " " + std::to_string(route.path[k]);
    out.push_back(line);
  }
  EXPECT_FALSE(sort.failed()) << sort.reason();
  *runs = sort.runsWritten();
  return out;
}

// The order is the same whether the routes stay in memory or go through runs on disk.
template <class Prefix>
void expectSameOrderInMemoryAndSpilled(const std::vector<Added<Prefix>>& routes,
                                       const std::vector<std::string>& expected) {
  std::uint64_t runs = 0;
  EXPECT_EQ(sorted(routes, MrtRouteSortOf<Prefix>::kDefaultMemory, &runs), expected);
  EXPECT_EQ(runs, 0u);
  for (std::size_t memory : {1u, 100u}) {
    EXPECT_EQ(sorted(routes, memory, &runs), expected) << memory;
    EXPECT_GT(runs, 1u);
  }
}

// The address without host bits, the longer prefix first, and routes of one prefix as added,
// even when they lie in different runs; an IPv4 route keeps the host bits it was written with.
TEST(MrtRouteSortTest, IPv4MergeOrder) {
  auto v4 = MrtIPv4Prefix::of;
  expectSameOrderInMemoryAndSpilled<MrtIPv4Prefix>(
      {
          {v4(0x0B000000, 8), {1, 2}},
          {v4(0x0A000000, 8), {3}},
          {v4(0x0A000000, 16), {4, 5, 6}},
          {v4(0x0A0000FF, 24), {7}},
          {v4(0x0A000000, 8), {8}},
          {v4(0x00000000, 0), {}},
          {v4(0x0A000000, 24), {9, 10}},
          {v4(0x0A000000, 8), {11}},
      },
      {"0.0.0.0/0", "10.0.0.255/24 7", "10.0.0.0/24 9 10", "10.0.0.0/16 4 5 6", "10.0.0.0/8 3",
       "10.0.0.0/8 8", "10.0.0.0/8 11", "11.0.0.0/8 1 2"});
}

// The IPv6 order reaches into the low half: prefixes longer than /64 differ only there.
TEST(MrtRouteSortTest, IPv6MergeOrder) {
  auto v6 = [](const char* text) {
    IPv6Prefix p;
    EXPECT_TRUE(parseIPv6Prefix(text, p)) << text;
    return p;
  };
  expectSameOrderInMemoryAndSpilled<IPv6Prefix>(
      {
          {v6("2001:db8::/32"), {1}},
          {v6("2001:db8::1:0/112"), {2}},
          {v6("::/0"), {3}},
          {v6("2001:db8::/48"), {4}},
          {v6("2001:db8::/32"), {5, 6}},
          {v6("2001:db8::/128"), {7}},
          {v6("2001:db7:ffff::/48"), {8}},
      },
      {"::/0 3", "2001:db7:ffff::/48 8", "2001:db8::/128 7", "2001:db8::/48 4", "2001:db8::/32 1",
       "2001:db8::/32 5 6", "2001:db8::1:0/112 2"});
}

}  // namespace
