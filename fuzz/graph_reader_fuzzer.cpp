// Feeds arbitrary bytes to the graph file reader, as an IPv4 run, an IPv6 run or the exporter
// read them. Whatever it accepts must be of a family the read takes and must write out as a file
// that reads back into the very same text: a graph written, read and written again is stable.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <stdio.h>  // fmemopen, open_memstream

#include "asgraph/as_graph.h"

namespace {

// The graph file text of g; null (and nothing allocated) when writing fails.
char* writeToMemory(ASGraph& g, size_t& size) {
  char* text = nullptr;
  FILE* out = open_memstream(&text, &size);
  if (out == nullptr) return nullptr;
  bool ok = g.writeToFile(out);
  std::fclose(out);
  if (!ok) {
    std::free(text);
    return nullptr;
  }
  return text;
}

bool readFromMemory(ASGraph& g, const void* data, size_t size, ASWidth width,
                    AcceptedGraphs accepted) {
  // fmemopen refuses an empty buffer; the null device is the empty input.
  FILE* in =
      size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<void*>(data), size, "r");
  if (in == nullptr) return false;
  bool ok = g.readFromFile(in, width, accepted);
  std::fclose(in);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // Half of the inputs are read as with --as32; the last byte's next bits choose the families.
  const unsigned last = size > 0 ? data[size - 1] : 0;
  const ASWidth width{(last & 1) != 0};
  const AcceptedGraphs kChoices[] = {AcceptedGraphs::ipv4, AcceptedGraphs::ipv6,
                                     AcceptedGraphs::any};
  const AcceptedGraphs accepted = kChoices[(last >> 2) % 3];
  ASGraph g;
  if (!readFromMemory(g, data, size, width, accepted)) {
    // A failed read leaves a partial graph; writing it must still be safe.
    size_t ignored;
    std::free(writeToMemory(g, ignored));
    return 0;
  }
  if (accepted != AcceptedGraphs::any && graphsOf(g.family()) != accepted) std::abort();
  // An IPv6 graph has no differential form.
  if (g.family() == AddressFamily::ipv6 && g.isDifferential()) std::abort();
  size_t firstSize;
  char* first = writeToMemory(g, firstSize);
  if (first == nullptr) std::abort();
  ASGraph again;
  if (!readFromMemory(again, first, firstSize, width, accepted) || again.family() != g.family()) {
    std::abort();
  }
  size_t secondSize;
  char* second = writeToMemory(again, secondSize);
  if (second == nullptr || secondSize != firstSize || std::memcmp(first, second, firstSize) != 0) {
    std::abort();
  }
  std::free(first);
  std::free(second);
  return 0;
}
