// Feeds arbitrary bytes as a graph file to zelgrin-export's reading and every writer. The first
// byte picks the AS width of the run and the depth of a neighbourhood around the first node;
// the rest is the graph file. Whatever the reader accepts must come out of every writer as
// valid UTF-8 (the comment and file names may hold any byte), with one CSV row per edge, and
// the summary without a control character.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <stdio.h>  // fmemopen, open_memstream

#include "asgraph/graph_file.h"
#include "export/csv_writer.h"
#include "export/dot_writer.h"
#include "export/graph_view.h"
#include "export/graphml_writer.h"
#include "export/json_writer.h"
#include "export/neighbourhood.h"
#include "export/summary.h"

namespace {

std::string render(const GraphView& view, void (*write)(const GraphView&, OutputBuffer&)) {
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  if (out == nullptr) std::abort();
  {
    OutputBuffer buffer(out);
    write(view, buffer);
    if (!buffer.flush()) std::abort();
  }
  std::fclose(out);
  std::string result(text, size);
  std::free(text);
  return result;
}

// True when text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool validUtf8(const std::string& text) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const unsigned c = s[i];
    size_t length = c < 0x80                 ? 1
                    : c >= 0xC2 && c <= 0xDF ? 2
                    : c >= 0xE0 && c <= 0xEF ? 3
                    : c >= 0xF0 && c <= 0xF4 ? 4
                                             : 0;
    if (length == 0 || i + length > n) return false;
    uint32_t code = length == 1 ? c : c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (s[i + k] & 0x3F);
    }
    static const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

void writeEverything(const GraphView& view) {
  const std::string csv = render(view, writeEdgesCsv);
  size_t rows = 0;
  for (char c : csv) rows += c == '\n';
  size_t edges = 0;
  view.forEachEdge([&edges](const EdgeFields&) { ++edges; });
  if (rows != edges + 1) std::abort();
  render(view, writeNodesCsv);
  for (auto write : {writeGraphML, writeJson, writeDot}) {
    if (!validUtf8(render(view, write))) std::abort();
  }
  // The summary goes to terminals: no control character but the line feed may reach one.
  const auto writeSummaryOf = [](const GraphView& v, OutputBuffer& out) {
    writeSummary(v, summarize(v), out);
  };
  const std::string summary = render(view, writeSummaryOf);
  if (!validUtf8(summary)) std::abort();
  for (size_t i = 0; i < summary.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(summary[i]);
    const bool c1 =
        c == 0xC2 && i + 1 < summary.size() && static_cast<unsigned char>(summary[i + 1]) < 0xA0;
    if ((c < 0x20 && c != '\n') || c == 0x7F || c1) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const ASWidth width{(data[0] & 1) != 0};
  const unsigned depth = data[0] >> 1;
  ++data;
  --size;
  FILE* in =
      size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (in == nullptr) return 0;
  ASGraph graph;
  bool ok;
  {
    StreamLineSource lines(in);
    std::string reason;
    // As the exporter reads: a graph of either family.
    ok = readGraphFile(lines, graph, reason, width, AcceptedGraphs::any);
  }
  std::fclose(in);
  if (!ok) return 0;

  GraphView whole(graph);
  writeEverything(whole);
  ASNumber first = 0;
  bool any = false;
  graph.forEachNode([&](const ASNumber&, const ASNumber& as) {
    if (!any) first = as;
    any = true;
  });
  std::vector<ASNumber> kept;
  if (findNeighbourhood(graph, first, depth, kept) != any) std::abort();
  if (!any) return 0;
  GraphView around(graph);
  around.focus(first, depth, kept);
  writeEverything(around);
  return 0;
}
