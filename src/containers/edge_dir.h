// The orientation of an edge as seen from the endpoint holding a copy of it. It lives with the
// containers because the graph template stores it in every edge record, and the AS graph, one
// layer up, builds on both.
#ifndef ZELGRIN_CONTAINERS_EDGE_DIR_H
#define ZELGRIN_CONTAINERS_EDGE_DIR_H

// The fixed underlying type makes every int a valid value, so a number read from outside the
// three enumerators is held without undefined behaviour and maps to undirected wherever it is read.
enum EdgeDir : int {
  undirected = 0,  // no direction, or never set
  backward = 1,    // from the other endpoint toward this node
  forward = 2      // from this node toward the other endpoint
};

// The same edge seen from its other end: forward and backward swap; anything else is undirected.
inline EdgeDir reverse(EdgeDir direction) {
  switch (direction) {
    case forward:
      return backward;
    case backward:
      return forward;
    default:
      return undirected;
  }
}

#endif  // ZELGRIN_CONTAINERS_EDGE_DIR_H
