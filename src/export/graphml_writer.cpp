#include "export/graphml_writer.h"

#include "export/edge_attributes.h"
#include "export/text_escape.h"

namespace {

// Covering values need 64 bits, which GraphML calls long; the other integers fit int.
const char* graphmlType(AttributeType type) {
  switch (type) {
    case AttributeType::integer:
      return "int";
    case AttributeType::count:
      return "long";
    case AttributeType::real:
      return "double";
    case AttributeType::word:
      return "string";
  }
  return "string";
}

// A key, with a description when it has one.
void appendKey(OutputBuffer& out, const char* id, const char* target, const char* name,
               const char* type, const char* description = nullptr) {
  out.append("  <key id=\"");
  out.append(id);
  out.append("\" for=\"");
  out.append(target);
  out.append("\" attr.name=\"");
  out.append(name);
  out.append("\" attr.type=\"");
  out.append(type);
  if (description == nullptr) {
    out.append("\"/>\n");
    return;
  }
  out.append("\"><desc>");
  out.append(description);
  out.append("</desc></key>\n");
}

void appendGraphData(OutputBuffer& out, ASGraph& graph) {
  out.append("    <data key=\"g0\">");
  appendEscapedList(out, graph.getSourceFiles(), "\n", TextSyntax::xml);
  out.append("</data>\n    <data key=\"g1\">");
  appendEscaped(out, graph.getComment(), TextSyntax::xml);
  out.append("</data>\n    <data key=\"g2\">");
  out.append(graph.isDifferential() ? "true" : "false");
  out.append("</data>\n");
  if (graph.family() == AddressFamily::ipv6) {
    out.append("    <data key=\"g3\">");
    out.append(kIPv6CoveringUnit);
    out.append("</data>\n");
  }
}

}  // namespace

void writeGraphML(const GraphView& view, OutputBuffer& out) {
  ASGraph& graph = view.graph();
  const std::size_t attributes = edgeAttributeCount(graph.isDifferential());
  out.append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://graphml.graphdrawing.org/xmlns "
      "http://graphml.graphdrawing.org/xmlns/1.0/graphml.xsd\">\n");
  appendKey(out, "g0", "graph", "sources", "string");
  appendKey(out, "g1", "graph", "comment", "string");
  appendKey(out, "g2", "graph", "differential", "boolean");
  // An IPv4 graph has no unit key, as before IPv6 graphs existed: its unit is the address.
  const bool ipv6 = graph.family() == AddressFamily::ipv6;
  if (ipv6) appendKey(out, "g3", "graph", "ip_covering_unit", "string");
  appendKey(out, "n0", "node", "asn", "long");
  // Edge keys are "e" and the attribute's row number.
  char id[32];
  for (std::size_t i = 0; i < attributes; ++i) {
    std::snprintf(id, sizeof id, "e%zu", i);
    const EdgeAttribute& attribute = kEdgeAttributes[i];
    appendKey(out, id, "edge", attributeName(attribute, graph.family()),
              graphmlType(attribute.type), ipv6 ? attribute.ipv6Description : nullptr);
  }
  out.append("  <graph id=\"G\" edgedefault=\"directed\">\n");
  appendGraphData(out, graph);

  view.forEachNode([&out](ASNumber as) {
    out.append("    <node id=\"AS");
    out.appendNumber(as);
    out.append("\"><data key=\"n0\">");
    out.appendNumber(as);
    out.append("</data></node>\n");
  });
  view.forEachArc([&out, attributes](const EdgeFields& copy) {
    out.append("    <edge source=\"AS");
    out.appendNumber(copy.a);
    out.append("\" target=\"AS");
    out.appendNumber(copy.b);
    out.append("\">");
    for (std::size_t i = 0; i < attributes; ++i) {
      out.append("<data key=\"e");
      out.appendNumber(i);
      out.append("\">");
      appendAttributeValue(out, kEdgeAttributes[i], copy);
      out.append("</data>");
    }
    out.append("</edge>\n");
  });
  out.append("  </graph>\n</graphml>\n");
}
