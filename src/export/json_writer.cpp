#include "export/json_writer.h"

#include <cmath>

#include "export/edge_attributes.h"
#include "export/text_escape.h"

namespace {

void appendString(OutputBuffer& out, const char* text) {
  out.append('"');
  appendEscaped(out, text, TextSyntax::json);
  out.append('"');
}

void appendGraphData(OutputBuffer& out, ASGraph& graph) {
  out.append("\"graph\": {\"sources\": [");
  appendEscapedList(out, graph.getSourceFiles(), ", ", TextSyntax::json, '"');
  out.append("], \"comment\": ");
  appendString(out, graph.getComment());
  out.append(", \"differential\": ");
  out.append(graph.isDifferential() ? "true" : "false");
  // An IPv4 graph says nothing, as before IPv6 graphs existed: its unit is the address.
  if (graph.family() == AddressFamily::ipv6) {
    out.append(", \"ip_covering_unit\": ");
    appendString(out, kIPv6CoveringUnit);
  }
  out.append("},\n");
}

void appendValue(OutputBuffer& out, const EdgeAttribute& attribute, const EdgeFields& copy) {
  if (attribute.type == AttributeType::word) {
    out.append('"');
    appendAttributeValue(out, attribute, copy);
    out.append('"');
  } else if (attribute.type == AttributeType::real && !std::isfinite(attribute.real(copy))) {
    out.append("null");
  } else {
    appendAttributeValue(out, attribute, copy);
  }
}

}  // namespace

void writeJson(const GraphView& view, OutputBuffer& out) {
  ASGraph& graph = view.graph();
  const std::size_t attributes = edgeAttributeCount(graph.isDifferential());
  const AddressFamily family = graph.family();
  out.append("{\"directed\": true, \"multigraph\": false,\n");
  appendGraphData(out, graph);
  out.append("\"nodes\": [");
  const char* separator = "\n";
  view.forEachNode([&out, &separator](ASNumber as) {
    out.append(separator);
    out.append("{\"id\": \"AS");
    out.appendNumber(as);
    out.append("\", \"asn\": ");
    out.appendNumber(as);
    out.append('}');
    separator = ",\n";
  });
  out.append("\n],\n\"links\": [");
  separator = "\n";
  view.forEachArc([&out, &separator, attributes, family](const EdgeFields& copy) {
    out.append(separator);
    out.append("{\"source\": \"AS");
    out.appendNumber(copy.a);
    out.append("\", \"target\": \"AS");
    out.appendNumber(copy.b);
    out.append('"');
    for (std::size_t i = 0; i < attributes; ++i) {
      out.append(", \"");
      out.append(attributeName(kEdgeAttributes[i], family));
      out.append("\": ");
      appendValue(out, kEdgeAttributes[i], copy);
    }
    out.append('}');
    separator = ",\n";
  });
  out.append("\n]}\n");
}
