#include "ip/ip_subspace.h"

namespace {

// Walks a tree's interval list front to back with the list's cursor, leaving the list intact.
class IntervalWalk {
 public:
  explicit IntervalWalk(List<IPSubSpace::IPInterval>& list) : items(list), more(!list.isEmpty()) {
    items.goToFirst();
    if (more) interval = items.current();
  }
  bool done() const { return !more; }
  const IPSubSpace::IPInterval& current() const { return interval; }
  void advance() {
    more = items.next();
    if (more) interval = items.current();
  }

 private:
  List<IPSubSpace::IPInterval>& items;
  bool more;
  IPSubSpace::IPInterval interval;
};

}  // namespace

IPSubSpace::IPSubSpace() : addressCount(0), intervals(), addressList(), prefixList() {}

IPSubSpace::IPSubSpace(const IPPrefix& p)
    : addressCount(0), intervals(), addressList(), prefixList() {
  uint64_t first = p.address().value();
  uint64_t last = first + p.addresses() - 1;
  // No prefix the library builds reaches past the top, but a wrapped interval would break
  // every walk, so the end is held at 255.255.255.255.
  if (last > 0xFFFFFFFFull) last = 0xFFFFFFFFull;
  append(IPInterval(IPAddress::fromValue(static_cast<uint32_t>(first)),
                    IPAddress::fromValue(static_cast<uint32_t>(last))));
}

IPSubSpace::IPSubSpace(const IPAddress& a)
    : addressCount(0), intervals(), addressList(), prefixList() {
  append(IPInterval(a, a));
}

IPSubSpace::IPSubSpace(const IPSubSpace& other)
    : addressCount(other.addressCount), intervals(other.intervals), addressList(), prefixList() {}

IPSubSpace& IPSubSpace::operator=(const IPSubSpace& other) {
  if (this != &other) {
    intervals = other.intervals;
    addressCount = other.addressCount;
  }
  return *this;
}

void IPSubSpace::append(const IPInterval& interval) {
  intervals.addItem(interval, interval.firstAddress);
  addressCount += interval.lastAddress - interval.firstAddress;
}

bool IPSubSpace::isEmpty() const { return intervals.isEmpty(); }

unsigned long long IPSubSpace::addresses() const { return addressCount; }

bool IPSubSpace::operator==(const IPSubSpace& other) const {
  if (addressCount != other.addressCount) return false;
  // Both walks below use their own tree's list; a set compared with itself would share one.
  if (this == &other) return true;
  IntervalWalk x(intervals.listItems());
  IntervalWalk y(other.intervals.listItems());
  while (!x.done() && !y.done()) {
    if (x.current().firstAddress != y.current().firstAddress ||
        x.current().lastAddress != y.current().lastAddress)
      return false;
    x.advance();
    y.advance();
  }
  return x.done() && y.done();
}

bool IPSubSpace::operator!=(const IPSubSpace& other) const { return !(*this == other); }

bool IPSubSpace::includes(const IPSubSpace& other) const {
  return addressCount > other.addressCount && intersect(other) == other;
}

bool IPSubSpace::isIncluded(const IPSubSpace& other) const {
  return addressCount < other.addressCount && intersect(other) == *this;
}

IPSubSpace IPSubSpace::intersect(const IPSubSpace& other) const {
  IPSubSpace result;
  if (isEmpty() || other.isEmpty()) return result;
  if (this == &other) return *this;
  IntervalWalk x(intervals.listItems());
  IntervalWalk y(other.intervals.listItems());
  while (!x.done() && !y.done()) {
    const IPInterval& a = x.current();
    const IPInterval& b = y.current();
    if (a.lastAddress < b.firstAddress) {
      x.advance();
    } else if (b.lastAddress < a.firstAddress) {
      y.advance();
    } else {
      result.append(IPInterval(a.firstAddress > b.firstAddress ? a.firstAddress : b.firstAddress,
                               a.lastAddress < b.lastAddress ? a.lastAddress : b.lastAddress));
      // Decide before advancing: advancing overwrites the interval the reference shows.
      bool advanceX = !(a.lastAddress > b.lastAddress);
      bool advanceY = !(b.lastAddress > a.lastAddress);
      if (advanceX) x.advance();
      if (advanceY) y.advance();
    }
  }
  return result;
}

IPSubSpace IPSubSpace::join(const IPSubSpace& other) const {
  if (other.isEmpty() || this == &other) return *this;
  if (isEmpty()) return other;
  IPSubSpace result;
  IntervalWalk x(intervals.listItems());
  IntervalWalk y(other.intervals.listItems());
  // Takes the next interval of the merged ascending stream.
  auto takeNext = [&x, &y]() {
    IntervalWalk& from =
        y.done() || (!x.done() && !(x.current().firstAddress > y.current().firstAddress)) ? x : y;
    IPInterval next = from.current();
    from.advance();
    return next;
  };
  IPInterval running = takeNext();
  while (!x.done() || !y.done()) {
    IPInterval next = takeNext();
    // Only a first address above 0.0.0.0 is stepped down, and no last address is stepped up,
    // so nothing wraps: the two ends of the space are not neighbours.
    if (next.firstAddress == IPAddress() || !(next.firstAddress - 1 > running.lastAddress)) {
      if (next.lastAddress > running.lastAddress) running.lastAddress = next.lastAddress;
    } else {
      result.append(running);
      running = next;
    }
  }
  result.append(running);
  return result;
}

IPSubSpace& IPSubSpace::operator*(const IPSubSpace& other) { return *this *= other; }

IPSubSpace& IPSubSpace::operator*=(const IPSubSpace& other) {
  *this = intersect(other);
  return *this;
}

IPSubSpace& IPSubSpace::operator+(const IPSubSpace& other) { return *this += other; }

IPSubSpace& IPSubSpace::operator+=(const IPSubSpace& other) {
  *this = join(other);
  return *this;
}

List<IPAddress>& IPSubSpace::listAddresses() {
  addressList = List<IPAddress>();
  for (IntervalWalk w(intervals.listItems()); !w.done(); w.advance()) {
    uint32_t current = w.current().firstAddress.value();
    uint32_t last = w.current().lastAddress.value();
    // Stepping only below last stops an interval ending at 255.255.255.255 without wrapping.
    while (true) {
      addressList.enqueue(IPAddress::fromValue(current));
      if (current >= last) break;
      ++current;
    }
  }
  return addressList;
}

List<IPPrefix>& IPSubSpace::listPrefixes() {
  prefixList = List<IPPrefix>();
  for (IntervalWalk w(intervals.listItems()); !w.done(); w.advance()) {
    // 64-bit, as the whole space is 2^32 addresses and p may step to 2^32 after the last block.
    uint64_t p = w.current().firstAddress.value();
    uint64_t remaining = w.current().lastAddress - w.current().firstAddress;
    while (remaining != 0) {
      // The largest block that starts at p and fits: alignment and size both only get harder
      // to meet as the block grows, so growing until either fails finds it.
      int k = 0;
      while (k < 32) {
        uint64_t bigger = uint64_t(1) << (k + 1);
        if ((p & (bigger - 1)) != 0 || bigger > remaining) break;
        ++k;
      }
      prefixList.enqueue(IPPrefix(IPAddress::fromValue(static_cast<uint32_t>(p)),
                                  IPNetmask(static_cast<char>(32 - k))));
      p += uint64_t(1) << k;
      remaining -= uint64_t(1) << k;
    }
  }
  return prefixList;
}
