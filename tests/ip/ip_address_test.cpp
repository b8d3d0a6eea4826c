#include "ip/ip_address.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string dotted(const unsigned char* o) {
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}
std::string str(const IPNetmask& m) { return dotted(m.getNetmask()); }
std::string str(const IPAddress& a) { return dotted(a.getAddress()); }

TEST(IPNetmask, LengthBuildsContiguousMaskAndOutOfRangeIsThirtyTwo) {
  struct Case {
    int length;
    const char* mask;
    int brief;
  } cases[] = {
      {0, "0.0.0.0", 0},
      {1, "128.0.0.0", 1},
      {7, "254.0.0.0", 7},
      {8, "255.0.0.0", 8},
      {17, "255.255.128.0", 17},
      {20, "255.255.240.0", 20},
      {31, "255.255.255.254", 31},
      {32, "255.255.255.255", 32},
      {33, "255.255.255.255", 32},
      {40, "255.255.255.255", 32},
      {-1, "255.255.255.255", 32},
      {-3, "255.255.255.255", 32},
      {127, "255.255.255.255", 32},
  };
  for (const Case& c : cases) {
    IPNetmask m(static_cast<char>(c.length));
    EXPECT_EQ(str(m), c.mask) << c.length;
    EXPECT_EQ(m.brief(), c.brief) << c.length;
    IPNetmask set(static_cast<char>(5));
    set.setNetmask(static_cast<char>(c.length));
    EXPECT_EQ(set, m) << c.length;
  }
  EXPECT_EQ(str(IPNetmask()), "255.255.255.255");
  EXPECT_EQ(IPNetmask().brief(), 32);
}

TEST(IPNetmask, NonContiguousOctetsAreRepairedToThirtyTwo) {
  struct Case {
    unsigned char o[4];
    const char* mask;
    int brief;
  } cases[] = {
      {{255, 255, 0, 0}, "255.255.0.0", 16},         {{0, 0, 0, 0}, "0.0.0.0", 0},
      {{255, 255, 128, 0}, "255.255.128.0", 17},     {{255, 255, 255, 254}, "255.255.255.254", 31},
      {{255, 0, 255, 0}, "255.255.255.255", 32},     {{255, 255, 255, 253}, "255.255.255.255", 32},
      {{128, 128, 0, 0}, "255.255.255.255", 32},     {{255, 255, 1, 0}, "255.255.255.255", 32},
      {{0, 0, 0, 1}, "255.255.255.255", 32},         {{127, 0, 0, 0}, "255.255.255.255", 32},
      {{255, 255, 255, 255}, "255.255.255.255", 32},
  };
  for (const Case& c : cases) {
    IPNetmask m(c.o[0], c.o[1], c.o[2], c.o[3]);
    EXPECT_EQ(str(m), c.mask) << c.mask;
    EXPECT_EQ(m.brief(), c.brief) << c.mask;
    IPNetmask set(static_cast<char>(4));
    set.setNetmask(c.o[0], c.o[1], c.o[2], c.o[3]);
    EXPECT_EQ(str(set), c.mask);
  }
}

TEST(IPNetmask, OrdersByLength) {
  IPNetmask m8(static_cast<char>(8)), m16(static_cast<char>(16)), other16(255, 255, 0, 0);
  EXPECT_TRUE(m16 > m8);
  EXPECT_FALSE(m8 > m16);
  EXPECT_TRUE(m8 < m16);
  EXPECT_FALSE(m16 < m8);
  EXPECT_FALSE(m16 > other16);
  EXPECT_FALSE(m16 < other16);
  EXPECT_TRUE(m16 >= other16);
  EXPECT_TRUE(m16 <= other16);
  EXPECT_TRUE(m16 == other16);
  EXPECT_TRUE(m16 != m8);
  EXPECT_TRUE(IPNetmask(static_cast<char>(0)) < IPNetmask(static_cast<char>(1)));
  EXPECT_TRUE(IPNetmask() > IPNetmask(static_cast<char>(31)));
}

TEST(IPNetmask, ScratchCopyIsNotTheValue) {
  IPNetmask m(static_cast<char>(16));
  unsigned char* out = m.getNetmask();
  out[3] = 7;
  EXPECT_EQ(str(m), "255.255.0.0");
  IPNetmask copy(m);
  m.setNetmask(static_cast<char>(8));
  EXPECT_EQ(copy.brief(), 16);
}

TEST(IPAddress, OrdersNumerically) {
  IPAddress a(10, 0, 0, 1), b(9, 255, 255, 255), c(10, 0, 0, 1), d(10, 0, 1, 0);
  EXPECT_TRUE(a > b);
  EXPECT_TRUE(b < a);
  EXPECT_TRUE(a >= c);
  EXPECT_TRUE(a <= c);
  EXPECT_FALSE(a < c);
  EXPECT_FALSE(a > c);
  EXPECT_TRUE(a == c);
  EXPECT_TRUE(a != d);
  EXPECT_TRUE(d > a);  // a later octet cannot outweigh an earlier one
  EXPECT_TRUE(IPAddress(128, 0, 0, 0) > IPAddress(127, 255, 255, 255));
  EXPECT_EQ(IPAddress(1, 2, 3, 4).value(), 0x01020304u);
}

TEST(IPAddress, ArithmeticWrapsAtBothEnds) {
  struct Case {
    IPAddress from;
    unsigned long long n;
    const char* plus;
    const char* minus;
  } cases[] = {
      {IPAddress(255, 255, 255, 255), 1, "0.0.0.0", "255.255.255.254"},
      {IPAddress(0, 0, 0, 0), 1, "0.0.0.1", "255.255.255.255"},
      {IPAddress(10, 0, 0, 0), 256, "10.0.1.0", "9.255.255.0"},
      {IPAddress(10, 0, 0, 0), 4294967296ull, "10.0.0.0", "10.0.0.0"},
      {IPAddress(10, 0, 0, 0), 4294967296ull + 5, "10.0.0.5", "9.255.255.251"},
      {IPAddress(0, 0, 0, 0), 4294967295ull, "255.255.255.255", "0.0.0.1"},
      {IPAddress(1, 2, 3, 4), 0, "1.2.3.4", "1.2.3.4"},
      {IPAddress(1, 2, 3, 4), ~0ull, "1.2.3.3", "1.2.3.5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(str(c.from + c.n), c.plus) << str(c.from) << " + " << c.n;
    EXPECT_EQ(str(c.from - c.n), c.minus) << str(c.from) << " - " << c.n;
    IPAddress up = c.from, down = c.from;
    EXPECT_EQ(str(up += c.n), c.plus);
    EXPECT_EQ(str(down -= c.n), c.minus);
  }
}

TEST(IPAddress, DifferenceIsInclusiveCountEitherWay) {
  struct Case {
    IPAddress a, b;
    unsigned long long count;
  } cases[] = {
      {IPAddress(10, 0, 0, 5), IPAddress(10, 0, 0, 5), 1},
      {IPAddress(10, 0, 0, 255), IPAddress(10, 0, 0, 0), 256},
      {IPAddress(10, 0, 0, 0), IPAddress(10, 0, 0, 255), 256},
      {IPAddress(0, 0, 0, 0), IPAddress(255, 255, 255, 255), 4294967296ull},
      {IPAddress(255, 255, 255, 255), IPAddress(0, 0, 0, 0), 4294967296ull},
      {IPAddress(255, 255, 255, 255), IPAddress(0, 0, 0, 1), 4294967295ull},
  };
  for (const Case& c : cases) EXPECT_EQ(c.a - c.b, c.count) << str(c.a) << " - " << str(c.b);
}

TEST(IPAddress, ClassEndsAt247) {
  struct Case {
    unsigned char first;
    char cls;
  } cases[] = {{0, 'U'},   {1, 'A'},   {127, 'A'}, {128, 'B'}, {191, 'B'}, {192, 'C'}, {223, 'C'},
               {224, 'D'}, {239, 'D'}, {240, 'E'}, {247, 'E'}, {248, 'U'}, {255, 'U'}};
  for (const Case& c : cases) EXPECT_EQ(IPAddress(c.first, 1, 2, 3).ipClass(), c.cls) << +c.first;
}

TEST(IPAddress, MaskLeavesOperandsAlone) {
  IPAddress a(10, 1, 2, 3);
  IPNetmask m(255, 255, 0, 0);
  EXPECT_EQ(str(a.mask(m)), "10.1.0.0");
  EXPECT_EQ(str(a), "10.1.2.3");
  EXPECT_EQ(str(m), "255.255.0.0");
  EXPECT_EQ(str(IPAddress(255, 255, 255, 255).mask(IPNetmask(static_cast<char>(0)))), "0.0.0.0");
  EXPECT_EQ(str(a.mask(IPNetmask())), "10.1.2.3");
}

TEST(IPAddress, ScratchCopyKeepsOldOctetsUntilNextCall) {
  IPAddress a(9, 8, 7, 6);
  unsigned char* p = a.getAddress();
  a.setAddress(1, 2, 3, 4);
  EXPECT_EQ(dotted(p), "9.8.7.6");
  p[0] = 200;  // writing the scratch copy does not reach the address
  EXPECT_EQ(str(a), "1.2.3.4");
  IPAddress b;
  b = a;
  EXPECT_EQ(str(b), "1.2.3.4");
  EXPECT_EQ(str(IPAddress()), "0.0.0.0");
}

}  // namespace
