// Writes a graph as GraphML, the XML graph format that networkx, igraph, Gephi and yEd read.
// One directed document: the graph's source files (one name per line) and comment as graph
// data, one node per AS with its number, one edge per AS pair: from customer to provider when
// the relationship is known, else from the graph file's first AS to its second (arcOf), with the
// attributes of edge_attributes.h seen from the source, typed for the readers (int, long,
// double, string):
//   <node id="AS701"><data key="n0">701</data></node>
//   <edge source="AS7018" target="AS701"><data key="e0">1</data><data key="e1">1</data>...</edge>
#ifndef ZELGRIN_EXPORT_GRAPHML_WRITER_H
#define ZELGRIN_EXPORT_GRAPHML_WRITER_H

#include "export/graph_view.h"
#include "export/output_buffer.h"

// Appends the whole document for the view to `out`.
void writeGraphML(const GraphView& view, OutputBuffer& out);

#endif  // ZELGRIN_EXPORT_GRAPHML_WRITER_H
