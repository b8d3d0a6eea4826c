// Entries per second of the MRT reader over a RIB dump held in memory: one PEER_INDEX_TABLE,
// then RIB_IPV4_UNICAST records of 20 peers each, paths of 3 to 8 ASes (bench/generate_rib.py
// writes larger and more realistic files for mrt_dump --time).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "parsers/mrt_reader.h"

namespace {

const int kPeers = 20;
const int kPrefixes = 50000;

class Writer {
 public:
  std::vector<std::uint8_t> bytes;
  void u8(unsigned v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
  void u16(unsigned v) {
    u8(v >> 8);
    u8(v);
  }
  void u32(std::uint32_t v) {
    u16(v >> 16);
    u16(v & 0xffff);
  }
  // Writes a record header whose length is filled in by end().
  std::size_t begin(unsigned subtype) {
    u32(1700000000);
    u16(13);
    u16(subtype);
    u32(0);
    return bytes.size();
  }
  void end(std::size_t start) {
    const std::size_t length = bytes.size() - start;
    for (int i = 0; i < 4; ++i) bytes[start - 1 - i] = static_cast<std::uint8_t>(length >> (8 * i));
  }
};

std::vector<std::uint8_t> makeRib() {
  Writer w;
  std::size_t start = w.begin(1);
  w.u32(1);
  w.u16(0);
  w.u16(kPeers);
  for (int p = 0; p < kPeers; ++p) {
    w.u8(2);
    w.u32(p);
    w.u32(0xc0000200 + p);
    w.u32(1000 + p);
  }
  w.end(start);
  std::uint32_t random = 12345;
  auto next = [&random] {
    random = random * 1103515245u + 12345u;
    return random >> 8;
  };
  for (int prefix = 0; prefix < kPrefixes; ++prefix) {
    start = w.begin(2);
    w.u32(prefix);
    w.u8(24);
    w.u8(1 + prefix / 65536);
    w.u8((prefix >> 8) & 255);
    w.u8(prefix & 255);
    w.u16(kPeers);
    for (int p = 0; p < kPeers; ++p) {
      const unsigned length = 3 + next() % 6;
      w.u16(p);
      w.u32(1700000000);
      w.u16(4 + 3 + 2 + 4 * length + 7);
      w.u8(0x40);
      w.u8(1);
      w.u8(1);
      w.u8(0);
      w.u8(0x40);
      w.u8(2);
      w.u8(2 + 4 * length);
      w.u8(2);
      w.u8(length);
      w.u32(1000 + p);
      for (unsigned i = 1; i < length; ++i)
        w.u32(next() % 64 == 0 ? 4200000000u + next() % 1000 : 1 + next() % 60000);
      w.u8(0x40);
      w.u8(3);
      w.u8(4);
      w.u32(0xc0000200 + p);
    }
    w.end(start);
  }
  return w.bytes;
}

void BM_MrtReaderRib(benchmark::State& state) {
  const std::vector<std::uint8_t> rib = makeRib();
  std::int64_t entries = 0;
  for (auto _ : state) {
    MemoryByteSource source(rib.data(), rib.size());
    MrtReader reader(source);
    MrtEntry entry;
    std::size_t ases = 0;
    while (reader.next(entry) == MrtStatus::entry) {
      ases += entry.path.size();
      ++entries;
    }
    benchmark::DoNotOptimize(ases);
  }
  state.SetItemsProcessed(entries);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(rib.size()));
}
BENCHMARK(BM_MrtReaderRib)->Unit(benchmark::kMillisecond);

}  // namespace
