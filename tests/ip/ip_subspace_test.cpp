#include "ip/ip_subspace.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

IPAddress ip(uint32_t v) { return IPAddress::fromValue(v); }
uint32_t v(unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
  return IPAddress(a, b, c, d).value();
}
std::string str(const IPAddress& a) {
  const unsigned char* o = a.getAddress();
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}
IPPrefix pfx(unsigned char a, unsigned char b, unsigned char c, unsigned char d, int len) {
  return IPPrefix(IPAddress(a, b, c, d), IPNetmask(static_cast<char>(len)));
}
IPSubSpace set(unsigned char a, unsigned char b, unsigned char c, unsigned char d, int len) {
  return IPSubSpace(pfx(a, b, c, d, len));
}

// The closed range first..last, built from single addresses and aligned blocks by joining, the
// naive way: independent of listPrefixes.
IPSubSpace range(uint32_t first, uint32_t last) {
  IPSubSpace s;
  uint64_t p = first;
  while (p <= last) {
    int k = 0;
    while (k < 32 && (p & ((uint64_t(2) << k) - 1)) == 0 && p + (uint64_t(2) << k) - 1 <= last) ++k;
    s += IPSubSpace(IPPrefix(ip(uint32_t(p)), IPNetmask(static_cast<char>(32 - k))));
    p += uint64_t(1) << k;
  }
  return s;
}

std::string prefixes(IPSubSpace& s) {
  std::string out;
  List<IPPrefix>& l = s.listPrefixes();
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    IPPrefix p = l.current();
    out += str(p.address()) + "/" + std::to_string(p.netmask().brief()) + " ";
    more = l.next();
  }
  return out;
}

std::string addresses(IPSubSpace& s) {
  std::string out;
  List<IPAddress>& l = s.listAddresses();
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    out += str(l.current()) + " ";
    more = l.next();
  }
  return out;
}

TEST(IPSubSpace, EmptySet) {
  IPSubSpace s;
  EXPECT_TRUE(s.isEmpty());
  EXPECT_EQ(s.addresses(), 0u);
  EXPECT_TRUE(s.listAddresses().isEmpty());
  EXPECT_TRUE(s.listPrefixes().isEmpty());
  EXPECT_EQ(s, IPSubSpace());
  EXPECT_NE(s, IPSubSpace(IPAddress()));
}

TEST(IPSubSpace, WholeSpaceAndSingleAddress) {
  IPSubSpace all{IPPrefix()};
  EXPECT_EQ(all.addresses(), 4294967296ull);
  EXPECT_EQ(prefixes(all), "0.0.0.0/0 ");
  EXPECT_EQ(all, range(0, 0xFFFFFFFFu));
  IPSubSpace one(IPAddress(1, 2, 3, 4));
  EXPECT_EQ(one.addresses(), 1u);
  EXPECT_EQ(prefixes(one), "1.2.3.4/32 ");
  IPSubSpace top(IPAddress(255, 255, 255, 255));
  EXPECT_EQ(prefixes(top), "255.255.255.255/32 ");
}

TEST(IPSubSpace, UnalignedClassfulPrefixStartsAtItsAddress) {
  IPSubSpace s{IPPrefix(IPAddress(10, 1, 2, 3))};
  EXPECT_EQ(s.addresses(), 16777216u);
  EXPECT_EQ(s, range(v(10, 1, 2, 3), v(11, 1, 2, 2)));
}

TEST(IPSubSpace, Intersection) {
  struct Case {
    IPSubSpace a, b;
    IPSubSpace expected;
    unsigned long long count;
  } cases[] = {
      {set(10, 0, 0, 0, 8), set(10, 1, 0, 0, 16), range(v(10, 1, 0, 0), v(10, 1, 255, 255)), 65536},
      {set(10, 0, 0, 0, 8), set(11, 0, 0, 0, 8), IPSubSpace(), 0},
      {set(10, 0, 0, 0, 8), IPSubSpace(), IPSubSpace(), 0},
      {IPSubSpace(), set(10, 0, 0, 0, 8), IPSubSpace(), 0},
      // Two intervals against one spanning the gap.
      {range(v(10, 0, 0, 0), v(10, 0, 0, 255)) + range(v(10, 0, 2, 0), v(10, 0, 2, 255)),
       range(v(10, 0, 0, 128), v(10, 0, 2, 127)),
       range(v(10, 0, 0, 128), v(10, 0, 0, 255)) + range(v(10, 0, 2, 0), v(10, 0, 2, 127)), 256},
      // Touching but not overlapping: nothing in common.
      {set(10, 0, 0, 0, 24), set(10, 0, 1, 0, 24), IPSubSpace(), 0},
      // Equal last addresses advance both sides.
      {range(10, 20) + range(30, 40), range(15, 20) + range(25, 35), range(15, 20) + range(30, 35),
       12},
      // The two ends of the space.
      {IPSubSpace(IPPrefix()), range(0, 9) + range(0xFFFFFFF0u, 0xFFFFFFFFu),
       range(0, 9) + range(0xFFFFFFF0u, 0xFFFFFFFFu), 26},
      {range(0xFFFFFF00u, 0xFFFFFFFFu), range(0xFFFFFFFFu, 0xFFFFFFFFu),
       IPSubSpace(ip(0xFFFFFFFFu)), 1},
  };
  for (Case& c : cases) {
    IPSubSpace r = c.a.intersect(c.b);
    EXPECT_EQ(r.addresses(), c.count);
    EXPECT_TRUE(r == c.expected) << prefixes(r) << " vs " << prefixes(c.expected);
    EXPECT_TRUE(c.b.intersect(c.a) == c.expected);
  }
}

TEST(IPSubSpace, UnionMergesTouchingAndNestedButNotTheEnds) {
  struct Case {
    IPSubSpace a, b;
    const char* prefixes;
    unsigned long long count;
  } cases[] = {
      {set(10, 0, 0, 0, 24), set(10, 0, 1, 0, 24), "10.0.0.0/23 ", 512},
      {set(10, 0, 0, 0, 24), set(10, 0, 2, 0, 24), "10.0.0.0/24 10.0.2.0/24 ", 512},
      {range(v(10, 0, 0, 0), v(10, 0, 0, 200)), range(v(10, 0, 0, 100), v(10, 0, 1, 50)),
       "10.0.0.0/24 10.0.1.0/27 10.0.1.32/28 10.0.1.48/31 10.0.1.50/32 ", 307},
      {set(10, 0, 0, 0, 8), set(10, 1, 0, 0, 16), "10.0.0.0/8 ", 16777216},
      {set(10, 1, 0, 0, 16), set(10, 0, 0, 0, 8), "10.0.0.0/8 ", 16777216},
      {set(10, 0, 0, 0, 24), IPSubSpace(), "10.0.0.0/24 ", 256},
      {IPSubSpace(), set(10, 0, 0, 0, 24), "10.0.0.0/24 ", 256},
      {range(0, 9), range(0xFFFFFFFAu, 0xFFFFFFFFu),
       "0.0.0.0/29 0.0.0.8/31 255.255.255.250/31 255.255.255.252/30 ", 16},
      // Many pieces closing the gaps of each other into one interval.
      {range(0, 9) + range(20, 29) + range(40, 49), range(10, 19) + range(30, 39),
       "0.0.0.0/27 0.0.0.32/28 0.0.0.48/31 ", 50},
      {range(0, 0xFFFFFFFEu), IPSubSpace(ip(0xFFFFFFFFu)), "0.0.0.0/0 ", 4294967296ull},
      // Both start at 0.0.0.0: the second must merge, not be stepped below the bottom.
      {range(0, 9), range(0, 20), "0.0.0.0/28 0.0.0.16/30 0.0.0.20/32 ", 21},
  };
  for (Case& c : cases) {
    IPSubSpace r = c.a.join(c.b);
    EXPECT_EQ(r.addresses(), c.count);
    EXPECT_EQ(prefixes(r), c.prefixes);
    IPSubSpace swapped = c.b.join(c.a);
    EXPECT_EQ(prefixes(swapped), c.prefixes);
  }
}

TEST(IPSubSpace, SetWithItselfAndOperatorsChangeLeftOnly) {
  IPSubSpace a = set(10, 0, 0, 0, 24) + set(10, 0, 2, 0, 24);
  IPSubSpace same = a;
  EXPECT_EQ(a.join(a), same);
  EXPECT_EQ(a.intersect(a), same);
  a += a;
  EXPECT_EQ(a, same);
  a *= a;
  EXPECT_EQ(a, same);

  IPSubSpace b = set(10, 0, 2, 0, 23);
  IPSubSpace bCopy = b;
  IPSubSpace& r = a * b;
  EXPECT_EQ(&r, &a);
  EXPECT_EQ(a, set(10, 0, 2, 0, 24));
  EXPECT_EQ(b, bCopy);
  IPSubSpace& u = a + set(10, 0, 5, 0, 24);
  EXPECT_EQ(&u, &a);
  EXPECT_EQ(prefixes(a), "10.0.2.0/24 10.0.5.0/24 ");
  IPSubSpace& alias = a;
  a = alias;
  EXPECT_EQ(prefixes(a), "10.0.2.0/24 10.0.5.0/24 ");
}

TEST(IPSubSpace, EqualityAndProperInclusion) {
  IPSubSpace halves = set(10, 0, 0, 0, 24) + set(10, 0, 1, 0, 24);
  EXPECT_TRUE(set(10, 0, 0, 0, 23) == halves);
  EXPECT_FALSE(set(10, 0, 0, 0, 23) != halves);
  // Same count, different addresses.
  EXPECT_TRUE(set(10, 0, 0, 0, 23) != set(10, 0, 2, 0, 23));
  EXPECT_TRUE(range(0, 9) + range(20, 29) != range(0, 9) + range(30, 39));

  IPSubSpace big = set(10, 0, 0, 0, 8), small = set(10, 1, 0, 0, 16);
  EXPECT_TRUE(big.includes(small));
  EXPECT_FALSE(small.includes(big));
  EXPECT_TRUE(small.isIncluded(big));
  EXPECT_FALSE(big.isIncluded(small));
  EXPECT_FALSE(big.includes(big));
  EXPECT_FALSE(big.isIncluded(big));
  // Larger but not containing.
  EXPECT_FALSE(big.includes(set(11, 0, 0, 0, 16)));
  EXPECT_FALSE(set(11, 0, 0, 0, 16).isIncluded(big));
  EXPECT_TRUE(big.includes(IPSubSpace()));
  EXPECT_TRUE(IPSubSpace().isIncluded(small));
}

TEST(IPSubSpace, ListAddressesStopsAtTop) {
  IPSubSpace s = set(255, 255, 255, 254, 31) + IPSubSpace(IPAddress(0, 0, 0, 1));
  EXPECT_EQ(addresses(s), "0.0.0.1 255.255.255.254 255.255.255.255 ");
  EXPECT_EQ(addresses(s), "0.0.0.1 255.255.255.254 255.255.255.255 ");
  EXPECT_EQ(s.listAddresses().len(), 3u);
}

TEST(IPSubSpace, ListPrefixesIsMinimal) {
  struct Case {
    uint32_t first, last;
    const char* prefixes;
  } cases[] = {
      {v(10, 0, 0, 1), v(10, 0, 0, 6), "10.0.0.1/32 10.0.0.2/31 10.0.0.4/31 10.0.0.6/32 "},
      {v(10, 0, 0, 0), v(10, 0, 0, 2), "10.0.0.0/31 10.0.0.2/32 "},
      {v(10, 0, 0, 0), v(10, 0, 0, 255), "10.0.0.0/24 "},
      {v(10, 0, 0, 255), v(10, 0, 1, 0), "10.0.0.255/32 10.0.1.0/32 "},
  };
  for (const Case& c : cases) {
    IPSubSpace s = range(c.first, c.last);
    EXPECT_EQ(prefixes(s), c.prefixes);
  }
  // One block per length at either end of the space: 0.0.0.0/1 down to 255.255.255.254/32,
  // and 0.0.0.1/32 up to 128.0.0.0/1.
  IPSubSpace low = range(0, 0xFFFFFFFEu), high = range(1, 0xFFFFFFFFu);
  EXPECT_EQ(low.listPrefixes().len(), 32u);
  EXPECT_EQ(high.listPrefixes().len(), 32u);
  EXPECT_EQ(prefixes(low).substr(0, 23), "0.0.0.0/1 128.0.0.0/2 1");
  EXPECT_EQ(prefixes(high).substr(0, 22), "0.0.0.1/32 0.0.0.2/31 ");
}

TEST(IPSubSpace, ListPrefixesRebuildsTheSameSet) {
  // Whatever intervals a set holds, its prefixes join back into it and each is the largest
  // aligned block that fits at its start.
  IPSubSpace s =
      range(3, 1000) + range(v(10, 0, 0, 7), v(10, 3, 9, 200)) + range(0xFFFFF000u, 0xFFFFFFFFu);
  IPSubSpace rebuilt;
  List<IPPrefix>& l = s.listPrefixes();
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    IPPrefix p = l.current();
    rebuilt += IPSubSpace(p);
    more = l.next();
  }
  EXPECT_EQ(rebuilt, s);
  EXPECT_EQ(rebuilt.addresses(), s.addresses());
}

TEST(IPSubSpace, CopyStartsWithEmptyListsAssignmentKeepsThem) {
  IPSubSpace a = set(10, 0, 0, 0, 31);
  List<IPAddress>& old = a.listAddresses();
  IPSubSpace b(a);
  EXPECT_EQ(b, a);
  a = set(20, 0, 0, 0, 32);
  EXPECT_EQ(old.len(), 2u);
  EXPECT_EQ(addresses(a), "20.0.0.0 ");
}

// The cheap overlap count must match the set computation graph construction is specified with,
// including the whole space and classful prefixes whose address is not aligned.
TEST(IPPrefixShared, MatchesIntersectionOfSets) {
  IPPrefix table[] = {
      IPPrefix(),
      pfx(10, 0, 0, 0, 8),
      pfx(10, 1, 0, 0, 16),
      pfx(10, 1, 2, 0, 24),
      pfx(10, 255, 255, 255, 32),
      pfx(11, 0, 0, 0, 8),
      pfx(9, 255, 0, 0, 16),
      pfx(0, 0, 0, 0, 1),
      pfx(128, 0, 0, 0, 1),
      pfx(255, 255, 255, 255, 32),
      pfx(0, 0, 0, 0, 32),
      pfx(127, 0, 0, 0, 8),
      pfx(128, 0, 0, 0, 16),
      IPPrefix(IPAddress(10, 1, 2, 3)),       // 10.1.2.3 .. 11.1.2.2
      IPPrefix(IPAddress(127, 200, 0, 1)),    // 127.200.0.1 .. 128.200.0.0
      IPPrefix(IPAddress(172, 16, 5, 9)),     // 172.16.5.9 .. 172.17.5.8
      IPPrefix(IPAddress(191, 255, 128, 0)),  // 191.255.128.0 .. 192.0.127.255
      IPPrefix(IPAddress(223, 255, 255, 1)),  // 223.255.255.1 .. 224.0.0.0
      IPPrefix(IPAddress(224, 0, 0, 0)),
      IPPrefix(IPAddress(250, 1, 1, 1)),
      IPPrefix(IPAddress(0, 0, 0, 0)),
      pfx(11, 1, 0, 0, 16),
      pfx(192, 0, 0, 0, 8),
      pfx(224, 0, 0, 0, 4),
  };
  for (const IPPrefix& p : table) {
    for (const IPPrefix& q : table) {
      uint64_t expected = IPSubSpace(p).intersect(IPSubSpace(q)).addresses();
      EXPECT_EQ(p.sharedAddresses(q), expected)
          << str(p.address()) << "/" << int(p.netmask().brief()) << " with " << str(q.address())
          << "/" << int(q.netmask().brief());
    }
  }
  EXPECT_EQ(IPPrefix().sharedAddresses(IPPrefix()), 4294967296ull);
  EXPECT_EQ(IPPrefix(IPAddress(10, 1, 2, 3)).sharedAddresses(pfx(11, 0, 0, 0, 8)),
            IPAddress(11, 1, 2, 2) - IPAddress(11, 0, 0, 0));
}

}  // namespace
