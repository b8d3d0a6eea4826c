// A set of IPv4 addresses held as disjoint, non-touching closed intervals in a search tree keyed
// by first address, with the number of addresses kept beside them so that counting never walks
// the set. Graph construction intersects sets built from prefixes to count shared addresses.
#ifndef ZELGRIN_IP_IP_SUBSPACE_H
#define ZELGRIN_IP_IP_SUBSPACE_H

#include <cstdint>

#include "containers/bst.h"
#include "containers/list.h"
#include "ip/ip_address.h"
#include "ip/ip_prefix.h"

class IPSubSpace {
 public:
  // The closed range firstAddress..lastAddress, firstAddress <= lastAddress.
  class IPInterval {
   public:
    // 0.0.0.0 to 0.0.0.0.
    IPInterval() : firstAddress(), lastAddress() {}
    IPInterval(const IPAddress& first, const IPAddress& last)
        : firstAddress(first), lastAddress(last) {}

    IPAddress firstAddress;
    IPAddress lastAddress;
  };

  // The empty set.
  IPSubSpace();
  // The addresses() addresses from p.address() on, even when that address is unaligned
  // (10.1.2.3 of length 8 gives 10.1.2.3 to 11.1.2.2).
  explicit IPSubSpace(const IPPrefix& p);
  // The single address a.
  explicit IPSubSpace(const IPAddress& a);
  // Copies intervals and count; the result lists start empty.
  IPSubSpace(const IPSubSpace& other);
  // Copies intervals and count; this set's result lists stay as they were.
  IPSubSpace& operator=(const IPSubSpace& other);

  // Same addresses / not; a differing count answers at once.
  bool operator==(const IPSubSpace& other) const;
  bool operator!=(const IPSubSpace& other) const;
  // other is a proper subset of this set.
  bool includes(const IPSubSpace& other) const;
  // This set is a proper subset of other.
  bool isIncluded(const IPSubSpace& other) const;
  bool isEmpty() const;

  // The addresses in both sets. Neither operand changes.
  IPSubSpace intersect(const IPSubSpace& other) const;
  // Replace this set by intersect(other) and return it: after a * b, a holds the intersection.
  IPSubSpace& operator*(const IPSubSpace& other);
  IPSubSpace& operator*=(const IPSubSpace& other);
  // The addresses in either set. Neither operand changes.
  IPSubSpace join(const IPSubSpace& other) const;
  // Replace this set by join(other) and return it: after a + b, a holds the union.
  IPSubSpace& operator+(const IPSubSpace& other);
  IPSubSpace& operator+=(const IPSubSpace& other);

  // Number of addresses, 0 to 4294967296, without walking the set.
  unsigned long long addresses() const;
  // Every address in ascending order, in a list owned by this set and refilled on every call.
  // Costs one list element per address: for small sets only.
  List<IPAddress>& listAddresses();
  // The set as the fewest CIDR prefixes, ascending, in a list owned by this set and refilled on
  // every call.
  List<IPPrefix>& listPrefixes();

 private:
  // Adds an interval above every interval held so far and counts its addresses.
  void append(const IPInterval& interval);

  uint64_t addressCount;
  // Listing the tree only refills the tree's own result list, so const operations may walk it.
  mutable BST<IPInterval, IPAddress> intervals;
  List<IPAddress> addressList;
  List<IPPrefix> prefixList;
};

#endif  // ZELGRIN_IP_IP_SUBSPACE_H
