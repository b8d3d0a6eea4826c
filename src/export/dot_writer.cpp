#include "export/dot_writer.h"

#include "export/edge_attributes.h"
#include "export/text_escape.h"

namespace {

void appendLabel(OutputBuffer& out, const GraphView& view) {
  const char* comment = view.graph().getComment();
  out.append("  graph [rankdir=BT, labelloc=t, label=\"");
  if (*comment != '\0') {
    appendEscaped(out, comment, TextSyntax::dot);
    out.append("\\n");
  }
  if (view.focused()) {
    out.append("AS");
    out.appendNumber(view.centre());
    out.append(" and the ASes within ");
    out.appendNumber(view.depth());
    out.append(view.depth() == 1 ? " hop\\n" : " hops\\n");
  }
  // The drawing shows no covering; the family still says which graph it is.
  if (view.graph().family() == AddressFamily::ipv6) {
    out.append("IPv6 graph (IP covering in /64 units)\\n");
  }
  out.append("arrows: customer to provider, blue lines: peers, dashed: unknown\"");
  out.append(", comment=\"sources:");
  List<char*>& sources = view.graph().getSourceFiles();
  bool more = !sources.isEmpty();
  for (sources.goToFirst(); more; more = sources.next()) {
    out.append(' ');
    appendEscaped(out, sources.current(), TextSyntax::dot);
  }
  out.append("\"];\n");
}

void appendEdge(OutputBuffer& out, ASNumber tail, ASNumber head, const char* style) {
  out.append("  AS");
  out.appendNumber(tail);
  out.append(" -> AS");
  out.appendNumber(head);
  out.append(style);
}

}  // namespace

void writeDot(const GraphView& view, OutputBuffer& out) {
  out.append("digraph \"AS graph\" {\n");
  appendLabel(out, view);
  view.forEachNode([&out, &view](ASNumber as) {
    out.append("  AS");
    out.appendNumber(as);
    out.append(view.focused() && as == view.centre() ? " [style=filled, fillcolor=gold];\n"
                                                     : ";\n");
  });
  view.forEachEdge([&out](const EdgeFields& copy) {
    const ASNumber a = copy.a;
    const ASNumber b = copy.b;
    switch (relationshipOf(copy)) {
      case Relationship::customerProvider:
        appendEdge(out, a, b, ";\n");
        break;
      case Relationship::providerCustomer:
        appendEdge(out, b, a, ";\n");
        break;
      case Relationship::peer:
        appendEdge(out, a, b, " [dir=none, color=blue, constraint=false];\n");
        break;
      case Relationship::unknown:
        appendEdge(out, a, b, " [dir=none, style=dashed, constraint=false];\n");
        break;
    }
  });
  out.append("}\n");
}
