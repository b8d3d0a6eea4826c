// Writes a graph as JSON in the node-link layout that d3, most JSON tools and
// networkx.node_link_graph read; the edges go under "links", the key of d3 and the default of
// networkx before 3.4 (later versions are told edges="links"):
//   {"directed": true, "multigraph": false,
//    "graph": {"sources": ["paths.txt"], "comment": "...", "differential": false},
//    "nodes": [{"id": "AS701", "asn": 701}, ...],
//    "links": [{"source": "AS7018", "target": "AS701", "oriented": 1, ...}, ...]}
// One node or link per line. A link runs from customer to provider when the relationship is
// known, else from the graph file's first AS to its second (arcOf); its members are the
// attributes of edge_attributes.h seen from the source. A real that is not finite (never in a
// graph zelgrin writes) is null, as JSON has no such numbers.
#ifndef ZELGRIN_EXPORT_JSON_WRITER_H
#define ZELGRIN_EXPORT_JSON_WRITER_H

#include "export/graph_view.h"
#include "export/output_buffer.h"

// Appends the whole document for the view to `out`.
void writeJson(const GraphView& view, OutputBuffer& out);

#endif  // ZELGRIN_EXPORT_JSON_WRITER_H
