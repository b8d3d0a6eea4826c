// The attributes every export format gives an edge, in one table: name, type and how to read
// the value from an edge copy. The GraphML, CSV and JSON writers walk the table, so a new
// attribute is one row here and appears in every format at once.
// Each edge is seen from the end the writer puts first ("a", the source) toward the other ("b",
// the target): the graph file's order, or the arc of a directed-graph format (arcOf).
#ifndef ZELGRIN_EXPORT_EDGE_ATTRIBUTES_H
#define ZELGRIN_EXPORT_EDGE_ATTRIBUTES_H

#include <cstddef>

#include "asgraph/as_graph.h"
#include "export/output_buffer.h"

// One edge as the graph file lists it, from its first AS a to its second b.
struct EdgeFields {
  ASNumber a = 0;
  ASNumber b = 0;
  ASEdgeWeight ab;                 // the way a->b
  ASEdgeWeight ba;                 // the way b->a
  EdgeDir direction = undirected;  // seen from a
  ASEdgeComparison comparison;     // the fields of a differential graph, seen from a

  // The fields of the edge held by `copy`, seen from its `from` end.
  static EdgeFields of(ASGraph& graph, const ASGraph::edge& copy) {
    EdgeFields fields;
    fields.a = copy.from().key;
    fields.b = copy.to().key;
    fields.ab = copy.weight();
    fields.ba = copy.reverseWeight();
    fields.direction = copy.direction();
    if (graph.isDifferential()) fields.comparison = graph.comparison(copy);
    return fields;
  }

  // The same edge seen from b: the ends, the two ways, the direction and the comparison swap.
  EdgeFields reversed() const {
    EdgeFields fields = *this;
    fields.a = b;
    fields.b = a;
    fields.ab = ba;
    fields.ba = ab;
    fields.direction = reverse(direction);
    fields.comparison = comparison.reversed();
    return fields;
  }
};

enum class AttributeType {
  integer,  // flags, directions and 16-bit counters; fits 32 signed bits
  count,    // path and IP address covering; up to 64 unsigned bits
  real,     // orientation stability
  word,     // a fixed lower-case word without special characters
};

struct EdgeAttribute {
  const char* name;
  // The IP covering of an IPv6 graph counts /64 units, not addresses: its columns carry another
  // name, so that no tool adds them to the addresses of an IPv4 graph, and a description. Null
  // for the rows that mean the same in both families.
  const char* ipv6Name;
  const char* ipv6Description;
  AttributeType type;
  bool differentialOnly;  // one of the comparison fields of a differential graph
  // Exactly the getter of the row's type is set.
  long long (*integer)(const EdgeFields&);
  unsigned long long (*count)(const EdgeFields&);
  double (*real)(const EdgeFields&);
  const char* (*word)(const EdgeFields&);
};

// The rows in the order of the graph file's fields, with the relationship after the direction:
// the first kPlainAttributeCount for every graph, all kEdgeAttributeCount for a differential one.
extern const EdgeAttribute kEdgeAttributes[];
extern const std::size_t kPlainAttributeCount;
extern const std::size_t kEdgeAttributeCount;

// The row's name in a graph of `family`.
inline const char* attributeName(const EdgeAttribute& attribute, AddressFamily family) {
  return family == AddressFamily::ipv6 && attribute.ipv6Name != nullptr ? attribute.ipv6Name
                                                                        : attribute.name;
}

// What a covering of an IPv6 graph counts, for the summary and the formats that describe their
// graph as a whole.
inline const char kIPv6CoveringUnit[] = "IPv6 /64 units";

// How many rows apply to the graph: all of them for a differential graph.
inline std::size_t edgeAttributeCount(bool differential) {
  return differential ? kEdgeAttributeCount : kPlainAttributeCount;
}

// The relationship that an edge's direction and orientation flag stand for.
enum class Relationship {
  customerProvider,  // direction 1: a is a customer of b
  providerCustomer,  // direction -1: a is a provider of b
  peer,              // direction 0, oriented
  unknown,           // direction 0, not oriented
};
Relationship relationshipOf(const EdgeFields& copy);

// "customer-provider", "provider-customer", "peer" or "unknown".
const char* relationshipName(Relationship relationship);

// The edge as an arc for directed-graph tools: from customer to provider, as graphviz draws it,
// so that a provider's in-degree counts its customers; a peer or unknown edge stays in the
// graph file's order. Its relationship is then never provider-customer.
inline EdgeFields arcOf(const EdgeFields& copy) {
  return relationshipOf(copy) == Relationship::providerCustomer ? copy.reversed() : copy;
}

// Appends the attribute's value as plain text: a number, or the bare word. Reals have six
// decimals, as in the graph file.
void appendAttributeValue(OutputBuffer& out, const EdgeAttribute& attribute,
                          const EdgeFields& copy);

#endif  // ZELGRIN_EXPORT_EDGE_ATTRIBUTES_H
