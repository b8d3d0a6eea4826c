#include "export/csv_writer.h"

#include "export/edge_attributes.h"

void writeNodesCsv(const GraphView& view, OutputBuffer& out) {
  out.append("id,asn\n");
  view.forEachNode([&out](ASNumber as) {
    out.append("AS", 2);
    out.appendNumber(as);
    out.append(',');
    out.appendNumber(as);
    out.append('\n');
  });
}

void writeEdgesCsv(const GraphView& view, OutputBuffer& out) {
  const std::size_t attributes = edgeAttributeCount(view.graph().isDifferential());
  const AddressFamily family = view.graph().family();
  out.append("source,target");
  for (std::size_t i = 0; i < attributes; ++i) {
    out.append(',');
    out.append(attributeName(kEdgeAttributes[i], family));
  }
  out.append('\n');
  view.forEachEdge([&out, attributes](const EdgeFields& copy) {
    out.append("AS", 2);
    out.appendNumber(copy.a);
    out.append(",AS", 3);
    out.appendNumber(copy.b);
    for (std::size_t i = 0; i < attributes; ++i) {
      out.append(',');
      appendAttributeValue(out, kEdgeAttributes[i], copy);
    }
    out.append('\n');
  });
}
