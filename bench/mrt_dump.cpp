// Decodes an MRT file with the MRT reader and prints one line per entry,
//   PREFIX|PEER_AS|AS PATH
// so that the reader can be compared with other MRT decoders; with --time it prints only the
// number of entries and the decoding rate (the file is read into memory first). Skip counts
// and damaged records go to standard error.
// Usage: mrt_dump [--time] FILE
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "parsers/mrt_reader.h"

namespace {

class PrintProblems : public MrtProblemListener {
 public:
  void skippedDamaged(const char* text) override { std::fprintf(stderr, "%s\n", text); }
};

void printPrefix(const MrtEntry& entry) {
  if (entry.family == MrtFamily::ipv4) {
    std::printf("%u.%u.%u.%u/%u", entry.prefixV4 >> 24, (entry.prefixV4 >> 16) & 255,
                (entry.prefixV4 >> 8) & 255, entry.prefixV4 & 255, entry.prefixLength);
    return;
  }
  // Full, uncompressed groups; the comparison script normalises the notation.
  for (int i = 0; i < 16; i += 2) {
    std::printf("%s%x", i ? ":" : "", (entry.prefixV6[i] << 8) | entry.prefixV6[i + 1]);
  }
  std::printf("/%u", entry.prefixLength);
}

}  // namespace

int main(int argc, char** argv) {
  const bool timing = argc == 3 && std::strcmp(argv[1], "--time") == 0;
  if (argc != 2 && !timing) {
    std::fprintf(stderr, "usage: mrt_dump [--time] FILE\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[argc - 1], "rb");
  if (file == nullptr) {
    std::perror(argv[argc - 1]);
    return 2;
  }
  std::vector<char> bytes;
  char chunk[1 << 16];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);

  MemoryByteSource source(bytes.data(), bytes.size());
  ReadStats stats;
  MrtReader reader(source, &stats);
  PrintProblems problems;
  reader.setProblemListener(&problems);
  MrtEntry entry;
  MrtStatus status;
  unsigned long long entries = 0;
  const auto start = std::chrono::steady_clock::now();
  while ((status = reader.next(entry)) == MrtStatus::entry) {
    ++entries;
    if (timing) continue;
    printPrefix(entry);
    std::printf("|%u|", entry.peerAS);
    for (std::size_t i = 0; i < entry.path.size(); ++i)
      std::printf(i ? " %u" : "%u", entry.path[i]);
    std::printf("\n");
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (timing) {
    std::printf("%llu entries from %zu bytes in %.3f s: %.0f entries/s, %.1f MB/s\n", entries,
                bytes.size(), seconds, entries / seconds, bytes.size() / seconds / 1e6);
  }
  if (status != MrtStatus::end) std::fprintf(stderr, "stopped: %s\n", reader.errReason());
  std::fprintf(stderr, "entries %llu, repaired records %llu, damaged %llu\n", entries,
               static_cast<unsigned long long>(reader.repairedRecords()),
               static_cast<unsigned long long>(reader.damagedCount()));
  for (int i = 0; i < stats.reasonCount(); ++i)
    std::fprintf(stderr, "skipped %llu: %s\n", static_cast<unsigned long long>(stats.count(i)),
                 stats.reason(i));
  return status == MrtStatus::end ? 0 : 1;
}
