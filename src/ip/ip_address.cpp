#include "ip/ip_address.h"

void IPNetmask::setNetmask(unsigned char o0, unsigned char o1, unsigned char o2, unsigned char o3) {
  octets[0] = o0;
  octets[1] = o1;
  octets[2] = o2;
  octets[3] = o3;
  // Contiguous exactly when the complement is a run of low one bits (or nothing), i.e. adding
  // one to it clears every bit it has. Prefix lengths, nesting and sizes all rely on this.
  uint32_t hostBits = ~value();
  if ((hostBits & (hostBits + 1)) != 0) store(0xFFFFFFFFu);
}

void IPNetmask::setNetmask(char length) {
  int bits = length;
  if (bits < 0 || bits > 32) bits = 32;
  // Shifting a 32-bit value by 32 is undefined, so length 0 is spelled out.
  store(bits == 0 ? 0u : 0xFFFFFFFFu << (32 - bits));
}

unsigned char* IPNetmask::getNetmask() const {
  for (int i = 0; i < 4; ++i) octetsOut[i] = octets[i];
  return octetsOut;
}

char IPNetmask::brief() const {
  // The leading ones of a contiguous mask; counted bit by bit only up to the first zero.
  uint32_t v = value();
  char length = 0;
  while (length < 32 && (v & 0x80000000u) != 0) {
    ++length;
    v <<= 1;
  }
  return length;
}

unsigned char* IPAddress::getAddress() const {
  for (int i = 0; i < 4; ++i) octetsOut[i] = octets[i];
  return octetsOut;
}

char IPAddress::ipClass() const {
  unsigned char first = octets[0];
  if (first == 0) return 'U';
  if (first <= 127) return 'A';
  if (first <= 191) return 'B';
  if (first <= 223) return 'C';
  if (first <= 239) return 'D';
  if (first <= 247) return 'E';
  return 'U';
}
