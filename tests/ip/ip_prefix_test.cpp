#include "ip/ip_prefix.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const IPAddress& a) {
  const unsigned char* o = a.getAddress();
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}
std::string str(const IPPrefix& p) {
  return str(p.address()) + "/" + std::to_string(p.netmask().brief());
}
IPPrefix pfx(unsigned char a, unsigned char b, unsigned char c, unsigned char d, int len) {
  return IPPrefix(IPAddress(a, b, c, d), IPNetmask(static_cast<char>(len)));
}

TEST(IPPrefix, DefaultIsWholeSpace) {
  IPPrefix p;
  EXPECT_EQ(str(p), "0.0.0.0/0");
  EXPECT_EQ(p.addresses(), 4294967296ull);
}

TEST(IPPrefix, ClassfulNetmaskKeepsAddressUnaligned) {
  struct Case {
    IPAddress a;
    const char* prefix;
    unsigned long long size;
  } cases[] = {
      {IPAddress(10, 1, 2, 3), "10.1.2.3/8", 16777216},
      {IPAddress(172, 16, 5, 0), "172.16.5.0/16", 65536},
      {IPAddress(192, 168, 1, 7), "192.168.1.7/24", 256},
      {IPAddress(224, 0, 0, 1), "224.0.0.1/32", 1},
      {IPAddress(247, 0, 0, 1), "247.0.0.1/32", 1},
      {IPAddress(0, 1, 2, 3), "0.1.2.3/32", 1},
      {IPAddress(250, 0, 0, 0), "250.0.0.0/32", 1},
  };
  for (const Case& c : cases) {
    IPPrefix p(c.a);
    EXPECT_EQ(str(p), c.prefix);
    EXPECT_EQ(p.addresses(), c.size) << c.prefix;
  }
  EXPECT_NE(IPPrefix(IPAddress(10, 1, 2, 3)), pfx(10, 1, 2, 3, 8));
  EXPECT_EQ(IPPrefix(IPAddress(10, 0, 0, 0)), pfx(10, 0, 0, 0, 8));
}

TEST(IPPrefix, AddressAndNetmaskAreNormalised) {
  EXPECT_EQ(str(pfx(10, 1, 2, 3, 16)), "10.1.0.0/16");
  EXPECT_EQ(pfx(10, 1, 2, 3, 16).addresses(), 65536u);
  EXPECT_EQ(str(pfx(200, 1, 2, 3, 0)), "0.0.0.0/0");
  EXPECT_EQ(pfx(200, 1, 2, 3, 0), IPPrefix());
  EXPECT_EQ(str(pfx(1, 2, 3, 4, 40)), "1.2.3.4/32");
  EXPECT_NE(pfx(10, 0, 0, 0, 8), pfx(10, 0, 0, 0, 16));
}

TEST(IPPrefix, NestingIsStrict) {
  struct Case {
    IPPrefix p, q;
    bool more, less;
  } cases[] = {
      {pfx(10, 1, 0, 0, 16), pfx(10, 0, 0, 0, 8), true, false},
      {pfx(10, 0, 0, 0, 8), pfx(10, 1, 0, 0, 16), false, true},
      {pfx(11, 1, 0, 0, 16), pfx(10, 0, 0, 0, 8), false, false},
      {pfx(10, 0, 0, 0, 8), pfx(10, 0, 0, 0, 8), false, false},
      {pfx(10, 0, 0, 0, 16), pfx(10, 1, 0, 0, 16), false, false},
      {pfx(1, 2, 3, 4, 32), IPPrefix(), true, false},
      {IPPrefix(), pfx(1, 2, 3, 4, 32), false, true},
      // The unaligned classful prefix is compared by its stored address: no nesting found.
      {pfx(10, 1, 2, 0, 24), IPPrefix(IPAddress(10, 1, 2, 3)), false, false},
      {IPPrefix(IPAddress(10, 1, 2, 3)), pfx(10, 1, 2, 0, 24), false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.p.isMoreSpecific(c.q), c.more) << str(c.p) << " vs " << str(c.q);
    EXPECT_EQ(c.p.isLessSpecific(c.q), c.less) << str(c.p) << " vs " << str(c.q);
  }
}

TEST(IPPrefix, SizeIsSixtyFourBit) {
  unsigned long long expected = 4294967296ull;
  for (int len = 0; len <= 32; ++len, expected /= 2)
    EXPECT_EQ(pfx(1, 2, 3, 4, len).addresses(), expected) << len;
}

std::string joined(List<IPAddress>& list) {
  std::string out;
  bool more = !list.isEmpty();
  list.goToFirst();
  while (more) {
    out += str(list.current()) + " ";
    more = list.next();
  }
  return out;
}

TEST(IPPrefix, ListAddressesStopsAtTopAndIsRefilled) {
  IPPrefix p = pfx(192, 168, 1, 0, 30);
  EXPECT_EQ(joined(p.listAddresses()), "192.168.1.0 192.168.1.1 192.168.1.2 192.168.1.3 ");
  EXPECT_EQ(joined(p.listAddresses()), "192.168.1.0 192.168.1.1 192.168.1.2 192.168.1.3 ");
  IPPrefix top = pfx(255, 255, 255, 252, 30);
  EXPECT_EQ(joined(top.listAddresses()),
            "255.255.255.252 255.255.255.253 255.255.255.254 255.255.255.255 ");
  EXPECT_EQ(top.listAddresses().len(), 4u);
  IPPrefix host = pfx(255, 255, 255, 255, 32);
  EXPECT_EQ(joined(host.listAddresses()), "255.255.255.255 ");
  // Unaligned classful prefix: starts at the stored address.
  IPPrefix c(IPAddress(192, 168, 1, 254));
  List<IPAddress>& l = c.listAddresses();
  EXPECT_EQ(l.len(), 256u);
  EXPECT_EQ(str(l.first()), "192.168.1.254");
}

TEST(IPPrefix, AssignmentKeepsTargetListCopyKeepsSource) {
  IPPrefix a = pfx(10, 0, 0, 0, 31);
  a.listAddresses();
  IPPrefix b = pfx(20, 0, 0, 0, 32);
  b.listAddresses();
  IPPrefix copy(a);
  a = b;
  EXPECT_EQ(str(a), "20.0.0.0/32");
  EXPECT_EQ(joined(copy.listAddresses()), "10.0.0.0 10.0.0.1 ");
  // The target's old list is still there until the next call.
  IPPrefix c = pfx(30, 0, 0, 0, 31);
  List<IPAddress>& old = c.listAddresses();
  c = b;
  EXPECT_EQ(joined(old), "30.0.0.0 30.0.0.1 ");
  EXPECT_EQ(joined(c.listAddresses()), "20.0.0.0 ");
}

}  // namespace
