// Writes a graph for graphviz (dot -Tsvg): one node per AS, customer-to-provider edges as
// arrows from the customer, drawn upwards so that providers sit above their customers, peers
// as blue lines and edges of unknown relationship dashed, both left out of the ranking. The
// graph's label names its comment, the AS at the centre of a neighbourhood and this legend; the
// source files go into graphviz's comment attribute.
//   digraph "AS graph" {
//     AS7018 [style=filled, fillcolor=gold];
//     AS7018 -> AS701;
//     AS701 -> AS1239 [dir=none, color=blue, constraint=false];
//   }
#ifndef ZELGRIN_EXPORT_DOT_WRITER_H
#define ZELGRIN_EXPORT_DOT_WRITER_H

#include "export/graph_view.h"
#include "export/output_buffer.h"

// Appends the whole graph for the view to `out`; a focused view marks its centre.
void writeDot(const GraphView& view, OutputBuffer& out);

#endif  // ZELGRIN_EXPORT_DOT_WRITER_H
