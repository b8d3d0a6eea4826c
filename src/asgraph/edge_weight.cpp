#include "asgraph/edge_weight.h"

ASEdgeComparison ASEdgeComparison::reversed() const {
  ASEdgeComparison other = *this;
  for (int k = 0; k < 2; ++k) other.cmpDirection[k] = reverse(cmpDirection[k]);
  other.pathCovering = reversePathCovering;
  other.ipCovering = reverseIpCovering;
  other.reversePathCovering = pathCovering;
  other.reverseIpCovering = ipCovering;
  other.incomingCount = outgoingCount;
  other.outgoingCount = incomingCount;
  return other;
}
