// The overlap of two prefixes, counted for every AS pair of every dump route: the cheap interval
// arithmetic against the address-set route it stands in for, plus the comparisons the dump merge
// makes per line.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "ip/ip_prefix.h"
#include "ip/ip_subspace.h"

namespace {

// Pairs as graph construction meets them: equal, nested, disjoint, whole space, unaligned.
struct PrefixPairs {
  static const int count = 8;
  IPPrefix first[count];
  IPPrefix second[count];
  PrefixPairs() {
    IPNetmask m8(static_cast<char>(8)), m16(static_cast<char>(16)), m24(static_cast<char>(24));
    set(0, IPPrefix(IPAddress(10, 0, 0, 0), m8), IPPrefix(IPAddress(10, 0, 0, 0), m8));
    set(1, IPPrefix(IPAddress(10, 1, 0, 0), m16), IPPrefix(IPAddress(10, 0, 0, 0), m8));
    set(2, IPPrefix(IPAddress(10, 0, 0, 0), m8), IPPrefix(IPAddress(10, 1, 2, 0), m24));
    set(3, IPPrefix(IPAddress(11, 0, 0, 0), m8), IPPrefix(IPAddress(10, 0, 0, 0), m8));
    set(4, IPPrefix(), IPPrefix(IPAddress(192, 168, 1, 0), m24));
    set(5, IPPrefix(IPAddress(10, 1, 2, 3)), IPPrefix(IPAddress(11, 0, 0, 0), m16));
    set(6, IPPrefix(IPAddress(172, 16, 0, 0), m16), IPPrefix(IPAddress(172, 16, 5, 0), m24));
    set(7, IPPrefix(IPAddress(192, 168, 1, 0), m24), IPPrefix(IPAddress(192, 168, 2, 0), m24));
  }
  void set(int i, const IPPrefix& a, const IPPrefix& b) {
    first[i] = a;
    second[i] = b;
  }
};

void BM_SharedAddresses(benchmark::State& state) {
  PrefixPairs pairs;
  int i = 0;
  for (auto _ : state) {
    uint64_t shared = pairs.first[i].sharedAddresses(pairs.second[i]);
    benchmark::DoNotOptimize(shared);
    i = (i + 1) % PrefixPairs::count;
  }
}
BENCHMARK(BM_SharedAddresses);

void BM_SubSpaceIntersection(benchmark::State& state) {
  PrefixPairs pairs;
  int i = 0;
  for (auto _ : state) {
    uint64_t shared = IPSubSpace(pairs.first[i]).intersect(IPSubSpace(pairs.second[i])).addresses();
    benchmark::DoNotOptimize(shared);
    i = (i + 1) % PrefixPairs::count;
  }
}
BENCHMARK(BM_SubSpaceIntersection);

// What the dump merge does per candidate: build a prefix and compare address and netmask.
void BM_PrefixBuildAndCompare(benchmark::State& state) {
  uint32_t v = 0x0A000000u;
  IPPrefix best(IPAddress(10, 0, 0, 0), IPNetmask(static_cast<char>(16)));
  for (auto _ : state) {
    IPPrefix p(IPAddress::fromValue(v), IPNetmask(static_cast<char>(8 + (v & 15))));
    bool before = p.address() < best.address() ||
                  (p.address() == best.address() && p.netmask() > best.netmask());
    benchmark::DoNotOptimize(before);
    v += 0x100;
  }
}
BENCHMARK(BM_PrefixBuildAndCompare);

}  // namespace
