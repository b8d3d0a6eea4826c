// IPv4 netmasks and addresses as four octets, most significant first: the value types under
// prefixes and address sets, and what the BGP dump parser builds from the network column.
// A netmask is always contiguous; addresses order numerically and their arithmetic wraps.
#ifndef ZELGRIN_IP_IP_ADDRESS_H
#define ZELGRIN_IP_IP_ADDRESS_H

#include <cstdint>

class IPNetmask {
 public:
  // 255.255.255.255 (length 32).
  IPNetmask();
  // The four octets, repaired to 255.255.255.255 when they are not a contiguous mask.
  IPNetmask(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3);
  // The mask of that length; a length outside 0..32 is taken as 32.
  explicit IPNetmask(char length);
  IPNetmask(const IPNetmask& other);
  IPNetmask& operator=(const IPNetmask& other);

  // Stores the octets, then falls back to 255.255.255.255 if they are not contiguous.
  void setNetmask(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3);
  // Builds the mask of that length; a length outside 0..32 is taken as 32.
  void setNetmask(char length);
  // Pointer to a scratch copy of the four octets; valid while this netmask lives, overwritten
  // by the next call, and writing through it does not change the netmask.
  unsigned char* getNetmask() const;
  // The length, 0 to 32.
  char brief() const;
  // The mask as a 32-bit number (255.255.0.0 is 0xFFFF0000).
  uint32_t value() const;

  bool operator==(const IPNetmask& other) const;
  bool operator!=(const IPNetmask& other) const;
  // Masks are contiguous, so ">" means longer (more specific) and "<" shorter.
  bool operator>(const IPNetmask& other) const;
  bool operator<(const IPNetmask& other) const;
  bool operator>=(const IPNetmask& other) const;
  bool operator<=(const IPNetmask& other) const;

 private:
  void store(uint32_t v);

  unsigned char octets[4];
  mutable unsigned char octetsOut[4];
};

class IPAddress {
 public:
  // 0.0.0.0.
  IPAddress();
  // The four octets, most significant first; any octets form a valid address.
  IPAddress(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3);
  IPAddress(const IPAddress& other);
  IPAddress& operator=(const IPAddress& other);
  // The address whose numeric value is v.
  static IPAddress fromValue(uint32_t v);

  // Replaces the four octets.
  void setAddress(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3);
  // Pointer to a scratch copy of the four octets; valid while this address lives, overwritten
  // by the next call, and writing through it does not change the address.
  unsigned char* getAddress() const;
  // The numeric value octet0 * 2^24 + octet1 * 2^16 + octet2 * 2^8 + octet3.
  uint32_t value() const;

  bool operator==(const IPAddress& other) const;
  bool operator!=(const IPAddress& other) const;
  // Numeric order.
  bool operator>(const IPAddress& other) const;
  bool operator<(const IPAddress& other) const;
  bool operator>=(const IPAddress& other) const;
  bool operator<=(const IPAddress& other) const;

  // The address n places higher or lower, modulo 2^32: 255.255.255.255 + 1 is 0.0.0.0.
  IPAddress operator+(const unsigned long long& n) const;
  IPAddress& operator+=(const unsigned long long& n);
  IPAddress operator-(const unsigned long long& n) const;
  IPAddress& operator-=(const unsigned long long& n);
  // Number of addresses in the closed range between the two, whichever is larger:
  // a - a is 1, 0.0.0.0 - 255.255.255.255 is 4294967296.
  unsigned long long operator-(const IPAddress& other) const;

  // Classful class letter from the first octet: 'A', 'B', 'C', 'D', 'E' (240 to 247), else 'U'.
  char ipClass() const;
  // This address ANDed octet by octet with the netmask. Neither operand changes.
  IPAddress mask(const IPNetmask& netmask) const;

 private:
  void store(uint32_t v);

  unsigned char octets[4];
  mutable unsigned char octetsOut[4];
};

// Small operations are defined here so that hot callers (the dump merge, the overlap arithmetic,
// the interval tree) inline them.

inline void IPNetmask::store(uint32_t v) {
  octets[0] = static_cast<unsigned char>(v >> 24);
  octets[1] = static_cast<unsigned char>(v >> 16);
  octets[2] = static_cast<unsigned char>(v >> 8);
  octets[3] = static_cast<unsigned char>(v);
}

inline uint32_t IPNetmask::value() const {
  return (uint32_t(octets[0]) << 24) | (uint32_t(octets[1]) << 16) | (uint32_t(octets[2]) << 8) |
         uint32_t(octets[3]);
}

inline IPNetmask::IPNetmask() : octets{255, 255, 255, 255}, octetsOut{0, 0, 0, 0} {}

inline IPNetmask::IPNetmask(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3)
    : octets{0, 0, 0, 0}, octetsOut{0, 0, 0, 0} {
  setNetmask(o0, o1, o2, o3);
}

inline IPNetmask::IPNetmask(char length) : octets{0, 0, 0, 0}, octetsOut{0, 0, 0, 0} {
  setNetmask(length);
}

inline IPNetmask::IPNetmask(const IPNetmask& other)
    : octets{other.octets[0], other.octets[1], other.octets[2], other.octets[3]},
      octetsOut{0, 0, 0, 0} {}

inline IPNetmask& IPNetmask::operator=(const IPNetmask& other) {
  for (int i = 0; i < 4; ++i) octets[i] = other.octets[i];
  return *this;
}

inline bool IPNetmask::operator==(const IPNetmask& other) const { return value() == other.value(); }
inline bool IPNetmask::operator!=(const IPNetmask& other) const { return value() != other.value(); }
inline bool IPNetmask::operator>(const IPNetmask& other) const { return value() > other.value(); }
inline bool IPNetmask::operator<(const IPNetmask& other) const { return value() < other.value(); }
inline bool IPNetmask::operator>=(const IPNetmask& other) const { return value() >= other.value(); }
inline bool IPNetmask::operator<=(const IPNetmask& other) const { return value() <= other.value(); }

inline void IPAddress::store(uint32_t v) {
  octets[0] = static_cast<unsigned char>(v >> 24);
  octets[1] = static_cast<unsigned char>(v >> 16);
  octets[2] = static_cast<unsigned char>(v >> 8);
  octets[3] = static_cast<unsigned char>(v);
}

inline uint32_t IPAddress::value() const {
  return (uint32_t(octets[0]) << 24) | (uint32_t(octets[1]) << 16) | (uint32_t(octets[2]) << 8) |
         uint32_t(octets[3]);
}

inline IPAddress::IPAddress() : octets{0, 0, 0, 0}, octetsOut{0, 0, 0, 0} {}

inline IPAddress::IPAddress(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3)
    : octets{o0, o1, o2, o3}, octetsOut{0, 0, 0, 0} {}

inline IPAddress::IPAddress(const IPAddress& other)
    : octets{other.octets[0], other.octets[1], other.octets[2], other.octets[3]},
      octetsOut{0, 0, 0, 0} {}

inline IPAddress& IPAddress::operator=(const IPAddress& other) {
  for (int i = 0; i < 4; ++i) octets[i] = other.octets[i];
  return *this;
}

inline IPAddress IPAddress::fromValue(uint32_t v) {
  IPAddress a;
  a.store(v);
  return a;
}

inline void IPAddress::setAddress(unsigned char o0, unsigned char o1, unsigned char o2,
                                  unsigned char o3) {
  octets[0] = o0;
  octets[1] = o1;
  octets[2] = o2;
  octets[3] = o3;
}

inline bool IPAddress::operator==(const IPAddress& other) const { return value() == other.value(); }
inline bool IPAddress::operator!=(const IPAddress& other) const { return value() != other.value(); }
inline bool IPAddress::operator>(const IPAddress& other) const { return value() > other.value(); }
inline bool IPAddress::operator<(const IPAddress& other) const { return value() < other.value(); }
inline bool IPAddress::operator>=(const IPAddress& other) const { return value() >= other.value(); }
inline bool IPAddress::operator<=(const IPAddress& other) const { return value() <= other.value(); }

// Only n modulo 2^32 matters: the conversion to 32 bits drops the rest.
inline IPAddress IPAddress::operator+(const unsigned long long& n) const {
  return fromValue(value() + static_cast<uint32_t>(n));
}
inline IPAddress& IPAddress::operator+=(const unsigned long long& n) {
  store(value() + static_cast<uint32_t>(n));
  return *this;
}
inline IPAddress IPAddress::operator-(const unsigned long long& n) const {
  return fromValue(value() - static_cast<uint32_t>(n));
}
inline IPAddress& IPAddress::operator-=(const unsigned long long& n) {
  store(value() - static_cast<uint32_t>(n));
  return *this;
}

inline unsigned long long IPAddress::operator-(const IPAddress& other) const {
  uint32_t a = value();
  uint32_t b = other.value();
  return static_cast<unsigned long long>(a > b ? a - b : b - a) + 1;
}

inline IPAddress IPAddress::mask(const IPNetmask& netmask) const {
  return fromValue(value() & netmask.value());
}

#endif  // ZELGRIN_IP_IP_ADDRESS_H
