// The first reading's side of AddressOrder: it follows the addresses of the routes the reading
// meets, in file order, with the rule of the sorting readers' own check (each address at or
// above the one before), and tells at the end what it learnt of the file it stamped at the
// start. Used by the readers that sort routes for the merge (MRT, pipe route text).
#ifndef ZELGRIN_PARSERS_ORDER_LEARNER_H
#define ZELGRIN_PARSERS_ORDER_LEARNER_H

#include <string>

#include "ip/ipv6_prefix.h"
#include "parsers/address_order.h"
#include "parsers/mrt_route_sort.h"

class OrderLearner {
 public:
  // Starts afresh on the file `path`; learns nothing of anything but a regular file.
  void start(const std::string& path) {
    stamped_ = stampOf(path, stamp_);
    ended_ = descended_ = false;
    last4_ = MrtIPv4Prefix();
    last6_ = IPv6Prefix();
  }

  // The next route the merge would take, in file order.
  void see(const MrtIPv4Prefix& prefix) { see(prefix, last4_); }
  void see(const IPv6Prefix& prefix) { see(prefix, last6_); }
  // The same for a reader's record, whose prefix prefixOf(record, prefix) gives as an
  // IPv6Prefix in an IPv6 run and as an MrtIPv4Prefix otherwise.
  template <class Record, class PrefixOf>
  void see(const Record& record, bool ipv6, PrefixOf prefixOf) {
    if (ipv6) {
      IPv6Prefix prefix;
      prefixOf(record, prefix);
      see(prefix);
    } else {
      MrtIPv4Prefix prefix;
      prefixOf(record, prefix);
      see(prefix);
    }
  }
  // Every route is read: a reading that stopped early learns only of a descent.
  void ended() { ended_ = true; }

  AddressOrder learnt() const {
    AddressOrder order;
    if (!stamped_) return order;
    order.file = stamp_;
    if (descended_) {
      order.kind = AddressOrder::notAscending;
    } else if (ended_) {
      order.kind = AddressOrder::ascending;
    }
    return order;
  }

 private:
  template <class Prefix>
  void see(const Prefix& prefix, Prefix& last) {
    if (addressBelow(prefix, last)) descended_ = true;
    last = prefix;
  }

  FileStamp stamp_;
  bool stamped_ = false;
  bool ended_ = false;
  bool descended_ = false;
  MrtIPv4Prefix last4_;
  IPv6Prefix last6_;
};

#endif  // ZELGRIN_PARSERS_ORDER_LEARNER_H
