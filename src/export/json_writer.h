// Writes a graph as JSON in the node-link layout that networkx.node_link_graph reads (networkx
// 2.8 and 3.x alike, through the "links" key) and that d3 and most JSON tools take:
//   {"directed": true, "multigraph": false,
//    "graph": {"sources": ["paths.txt"], "comment": "...", "differential": false},
//    "nodes": [{"id": "AS701", "asn": 701}, ...],
//    "links": [{"source": "AS701", "target": "AS7018", "oriented": 1, ...}, ...]}
// One node or link per line. Link members are the attributes of edge_attributes.h; a real
// that is not finite (never in a graph zelgrin writes) is null, as JSON has no such numbers.
#ifndef ZELGRIN_EXPORT_JSON_WRITER_H
#define ZELGRIN_EXPORT_JSON_WRITER_H

#include "export/graph_view.h"
#include "export/output_buffer.h"

// Appends the whole document for the view to `out`.
void writeJson(const GraphView& view, OutputBuffer& out);

#endif  // ZELGRIN_EXPORT_JSON_WRITER_H
