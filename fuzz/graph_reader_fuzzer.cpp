// Feeds arbitrary bytes to the graph file reader. Whatever it accepts must write out as a file
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

bool readFromMemory(ASGraph& g, const void* data, size_t size, ASWidth width) {
  // fmemopen refuses an empty buffer; the null device is the empty input.
  FILE* in =
      size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<void*>(data), size, "r");
  if (in == nullptr) return false;
  bool ok = g.readFromFile(in, width);
  std::fclose(in);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // Half of the inputs are read as with --as32.
  const ASWidth width{size > 0 && (data[size - 1] & 1) != 0};
  ASGraph g;
  if (!readFromMemory(g, data, size, width)) {
    // A failed read leaves a partial graph; writing it must still be safe.
    size_t ignored;
    std::free(writeToMemory(g, ignored));
    return 0;
  }
  size_t firstSize;
  char* first = writeToMemory(g, firstSize);
  if (first == nullptr) std::abort();
  ASGraph again;
  if (!readFromMemory(again, first, firstSize, width)) std::abort();
  size_t secondSize;
  char* second = writeToMemory(again, secondSize);
  if (second == nullptr || secondSize != firstSize || std::memcmp(first, second, firstSize) != 0) {
    std::abort();
  }
  std::free(first);
  std::free(second);
  return 0;
}
