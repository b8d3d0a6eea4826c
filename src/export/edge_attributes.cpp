#include "export/edge_attributes.h"

namespace {

using Edge = EdgeFields;

// Rows by type; the getters of the other types stay null.
constexpr EdgeAttribute integerRow(const char* name, bool differential,
                                   long long (*get)(const Edge&)) {
  return {name,    nullptr, nullptr, AttributeType::integer, differential, get,
          nullptr, nullptr, nullptr};
}
constexpr EdgeAttribute countRow(const char* name, bool differential,
                                 unsigned long long (*get)(const Edge&)) {
  return {name, nullptr, nullptr, AttributeType::count, differential, nullptr,
          get,  nullptr, nullptr};
}
// An IP covering of a plain graph, which an IPv6 graph counts in /64 units.
constexpr EdgeAttribute coveringRow(const char* name, const char* ipv6Name,
                                    const char* ipv6Description,
                                    unsigned long long (*get)(const Edge&)) {
  return {name, ipv6Name, ipv6Description, AttributeType::count, false, nullptr,
          get,  nullptr,  nullptr};
}

}  // namespace

// ab is the way from the source a to the target b, ba the way back; the comparison fields are
// seen from a, as the graph file writes them from its first AS.
constexpr EdgeAttribute kEdgeAttributes[] = {
    integerRow("oriented", false, [](const Edge& e) -> long long { return e.ab.oriented; }),
    integerRow("direction", false,
               [](const Edge& e) -> long long { return ASGraph::dirToVal(e.direction); }),
    {"relationship", nullptr, nullptr, AttributeType::word, false, nullptr, nullptr, nullptr,
     [](const Edge& e) { return relationshipName(relationshipOf(e)); }},
    countRow("paths_ab", false,
             [](const Edge& e) -> unsigned long long { return e.ab.pathCovering; }),
    coveringRow("ip_ab", "ipv6_slash64_ab",
                "IPv6 address space announced over the way source to target, in /64 units",
                [](const Edge& e) -> unsigned long long { return e.ab.ipCovering; }),
    countRow("paths_ba", false,
             [](const Edge& e) -> unsigned long long { return e.ba.pathCovering; }),
    coveringRow("ip_ba", "ipv6_slash64_ba",
                "IPv6 address space announced over the way target to source, in /64 units",
                [](const Edge& e) -> unsigned long long { return e.ba.ipCovering; }),
    integerRow("cmp_oriented_0", true,
               [](const Edge& e) -> long long { return e.comparison.cmpOriented[0]; }),
    integerRow("cmp_oriented_1", true,
               [](const Edge& e) -> long long { return e.comparison.cmpOriented[1]; }),
    integerRow(
        "cmp_direction_0", true,
        [](const Edge& e) -> long long { return ASGraph::dirToVal(e.comparison.cmpDirection[0]); }),
    integerRow(
        "cmp_direction_1", true,
        [](const Edge& e) -> long long { return ASGraph::dirToVal(e.comparison.cmpDirection[1]); }),
    countRow("paths_ab_1", true,
             [](const Edge& e) -> unsigned long long { return e.comparison.pathCovering; }),
    countRow("ip_ab_1", true,
             [](const Edge& e) -> unsigned long long { return e.comparison.ipCovering; }),
    countRow("paths_ba_1", true,
             [](const Edge& e) -> unsigned long long { return e.comparison.reversePathCovering; }),
    countRow("ip_ba_1", true,
             [](const Edge& e) -> unsigned long long { return e.comparison.reverseIpCovering; }),
    integerRow("compared_graphs", true,
               [](const Edge& e) -> long long { return e.comparison.comparedGraphs; }),
    integerRow("incoming", true,
               [](const Edge& e) -> long long { return e.comparison.incomingCount; }),
    integerRow("outgoing", true,
               [](const Edge& e) -> long long { return e.comparison.outgoingCount; }),
    integerRow("undirected", true,
               [](const Edge& e) -> long long { return e.comparison.undirectedCount; }),
    integerRow("unoriented", true,
               [](const Edge& e) -> long long { return e.comparison.unorientedCount; }),
    integerRow("orientation_changes", true,
               [](const Edge& e) -> long long { return e.comparison.orientationChanges; }),
    {"orientation_stability", nullptr, nullptr, AttributeType::real, true, nullptr, nullptr,
     [](const Edge& e) -> double { return e.comparison.orientationStability; }, nullptr},
};

const std::size_t kEdgeAttributeCount = sizeof kEdgeAttributes / sizeof kEdgeAttributes[0];

namespace {

// The plain rows come first; writers of a plain graph stop where the comparison fields begin.
constexpr std::size_t countPlainRows() {
  std::size_t count = 0;
  while (count < sizeof kEdgeAttributes / sizeof kEdgeAttributes[0] &&
         !kEdgeAttributes[count].differentialOnly) {
    ++count;
  }
  return count;
}

}  // namespace

const std::size_t kPlainAttributeCount = countPlainRows();

Relationship relationshipOf(const EdgeFields& copy) {
  switch (ASGraph::dirToVal(copy.direction)) {
    case 1:
      return Relationship::customerProvider;
    case -1:
      return Relationship::providerCustomer;
    default:
      return copy.ab.oriented ? Relationship::peer : Relationship::unknown;
  }
}

const char* relationshipName(Relationship relationship) {
  switch (relationship) {
    case Relationship::customerProvider:
      return "customer-provider";
    case Relationship::providerCustomer:
      return "provider-customer";
    case Relationship::peer:
      return "peer";
    case Relationship::unknown:
      return "unknown";
  }
  return "unknown";
}

void appendAttributeValue(OutputBuffer& out, const EdgeAttribute& attribute,
                          const EdgeFields& copy) {
  switch (attribute.type) {
    case AttributeType::integer:
      out.appendNumber(attribute.integer(copy));
      break;
    case AttributeType::count:
      out.appendNumber(attribute.count(copy));
      break;
    case AttributeType::real:
      out.appendFixed(attribute.real(copy));
      break;
    case AttributeType::word:
      out.append(attribute.word(copy));
      break;
  }
}
