// Writes a graph as comma-separated values for pandas, R and spreadsheets: a node table and an
// edge table, each a header row and one row per node or edge. No field ever needs quoting (ids
// are "AS" and digits, values numbers or plain words), so any CSV reader takes them as they are.
//   nodes:  id,asn                        AS701,701
//   edges:  source,target,oriented,...    AS701,AS7018,1,-1,provider-customer,0,25362816,2,...
// Lines end with a line feed. The edge columns are those of edge_attributes.h, in its order.
// The graph's source files and comment have no place in either table.
#ifndef ZELGRIN_EXPORT_CSV_WRITER_H
#define ZELGRIN_EXPORT_CSV_WRITER_H

#include "export/graph_view.h"
#include "export/output_buffer.h"

// Appends the node table of the view to `out`.
void writeNodesCsv(const GraphView& view, OutputBuffer& out);

// Appends the edge table of the view to `out`.
void writeEdgesCsv(const GraphView& view, OutputBuffer& out);

#endif  // ZELGRIN_EXPORT_CSV_WRITER_H
