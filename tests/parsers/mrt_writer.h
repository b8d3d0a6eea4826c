// Writes small MRT records in code for the MRT reader's tests: headers, PEER_INDEX_TABLE, RIB
// records, TABLE_DUMP entries, BGP4MP and deprecated BGP updates, path attributes, and the means
// to damage any of them (lengths are plain arguments, so a test can lie about them).
#ifndef ZELGRIN_TESTS_PARSERS_MRT_WRITER_H
#define ZELGRIN_TESTS_PARSERS_MRT_WRITER_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace mrtw {

// Bytes in network byte order, built by chained appends.
struct Bytes {
  std::vector<std::uint8_t> data;

  Bytes& u8(unsigned v) {
    data.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  Bytes& u16(unsigned v) { return u8(v >> 8).u8(v); }
  Bytes& u32(std::uint32_t v) { return u16(v >> 16).u16(v); }
  Bytes& as(std::uint32_t v, int width) { return width == 4 ? u32(v) : u16(v); }
  Bytes& add(const Bytes& more) {
    data.insert(data.end(), more.data.begin(), more.data.end());
    return *this;
  }
  Bytes& zeros(std::size_t n) {
    data.insert(data.end(), n, 0);
    return *this;
  }
  std::size_t size() const { return data.size(); }
  std::string str() const { return std::string(data.begin(), data.end()); }
};

// A record: header (time, type, subtype, body length + lengthDelta) and body.
inline Bytes record(unsigned type, unsigned subtype, const Bytes& body, int lengthDelta = 0,
                    std::uint32_t time = 1000000000) {
  Bytes r;
  r.u32(time).u16(type).u16(subtype).u32(
      static_cast<std::uint32_t>(static_cast<long>(body.size()) + lengthDelta));
  return r.add(body);
}

// One AS path segment (1 AS_SET, 2 AS_SEQUENCE, 3 AS_CONFED_SEQUENCE, 4 AS_CONFED_SET).
inline Bytes segment(unsigned type, std::initializer_list<std::uint32_t> ases, int width) {
  Bytes s;
  s.u8(type).u8(static_cast<unsigned>(ases.size()));
  for (std::uint32_t a : ases) s.as(a, width);
  return s;
}

inline Bytes sequence(std::initializer_list<std::uint32_t> ases, int width) {
  return segment(2, ases, width);
}

// A path attribute; the extended length form when the value needs it or `extended` asks.
inline Bytes attribute(unsigned type, const Bytes& value, bool extended = false) {
  Bytes a;
  extended = extended || value.size() > 255;
  a.u8(extended ? 0x50 : 0x40).u8(type);
  if (extended)
    a.u16(static_cast<unsigned>(value.size()));
  else
    a.u8(static_cast<unsigned>(value.size()));
  return a.add(value);
}

inline Bytes asPathAttribute(const Bytes& segments) { return attribute(2, segments); }
inline Bytes as4PathAttribute(const Bytes& segments) { return attribute(17, segments); }
inline Bytes originAttribute() { return attribute(1, Bytes().u8(0)); }

// A prefix as NLRI writes it: length in bits, then the bytes it needs; path identifier first
// when pathId is not negative.
inline Bytes prefix(std::initializer_list<unsigned> bytes, unsigned length, long pathId = -1) {
  Bytes p;
  if (pathId >= 0) p.u32(static_cast<std::uint32_t>(pathId));
  p.u8(length);
  unsigned written = 0;
  for (unsigned b : bytes) {
    if (written++ < (length + 7) / 8) p.u8(b);
  }
  return p;
}

// MP_REACH_NLRI with an IPv4 (afi 1) or IPv6 (afi 2) next hop of the right size.
inline Bytes mpReach(unsigned afi, unsigned safi, const Bytes& nlri) {
  Bytes v;
  const unsigned hop = afi == 2 ? 16 : 4;
  v.u16(afi).u8(safi).u8(hop).zeros(hop).u8(0).add(nlri);
  return attribute(14, v);
}

struct Peer {
  std::uint32_t as;
  bool as4;
  bool ipv6;
};

inline Bytes peerIndexTable(std::initializer_list<Peer> peers) {
  Bytes b;
  b.u32(0x0a000001).u16(4).u8('v').u8('i').u8('e').u8('w').u16(static_cast<unsigned>(peers.size()));
  for (const Peer& p : peers) {
    b.u8((p.ipv6 ? 1 : 0) | (p.as4 ? 2 : 0))
        .u32(0x0a000002)
        .zeros(p.ipv6 ? 16 : 4)
        .as(p.as, p.as4 ? 4 : 2);
  }
  return record(13, 1, b);
}

// One RIB entry of a TABLE_DUMP_V2 RIB record.
inline Bytes ribEntry(unsigned peerIndex, const Bytes& attributes, long pathId = -1) {
  Bytes e;
  e.u16(peerIndex).u32(999);
  if (pathId >= 0) e.u32(static_cast<std::uint32_t>(pathId));
  return e.u16(static_cast<unsigned>(attributes.size())).add(attributes);
}

inline Bytes ribRecord(unsigned subtype, const Bytes& prefixBytes,
                       std::initializer_list<Bytes> entries) {
  Bytes b;
  b.u32(7).add(prefixBytes).u16(static_cast<unsigned>(entries.size()));
  for (const Bytes& e : entries) b.add(e);
  return record(13, subtype, b);
}

// An UPDATE's body (after the 19-byte BGP header): withdrawn routes, attributes, NLRI.
inline Bytes updateBody(const Bytes& attributes, const Bytes& nlri,
                        const Bytes& withdrawn = Bytes()) {
  Bytes u;
  u.u16(static_cast<unsigned>(withdrawn.size())).add(withdrawn);
  return u.u16(static_cast<unsigned>(attributes.size())).add(attributes).add(nlri);
}

// A BGP message with its header; type 2 is UPDATE.
inline Bytes bgpMessage(unsigned type, const Bytes& body) {
  Bytes m;
  for (int i = 0; i < 16; ++i) m.u8(0xff);
  return m.u16(static_cast<unsigned>(19 + body.size())).u8(type).add(body);
}

// A BGP4MP (type 16) or BGP4MP_ET (17) message record of any message subtype; AS width from the
// subtype, addresses from afi.
inline Bytes bgp4mp(unsigned subtype, std::uint32_t peerAS, std::uint32_t localAS,
                    const Bytes& message, unsigned afi = 1, unsigned type = 16) {
  const bool as4 = subtype == 4 || subtype == 7 || subtype == 9 || subtype == 11;
  Bytes b;
  if (type == 17) b.u32(123456);
  b.as(peerAS, as4 ? 4 : 2)
      .as(localAS, as4 ? 4 : 2)
      .u16(0)
      .u16(afi)
      .zeros(afi == 2 ? 32 : 8)
      .add(message);
  return record(type, subtype, b);
}

// A deprecated BGP (type 5) UPDATE: peer AS and address, local AS and address, UPDATE body.
inline Bytes legacyUpdate(std::uint32_t peerAS, const Bytes& body) {
  Bytes b;
  b.u16(peerAS).u32(0xc1000001).u16(12654).u32(0xc1000002).add(body);
  return record(5, 1, b);
}

// The fields of one TABLE_DUMP entry after view and sequence numbers.
inline Bytes tableDumpEntry(std::initializer_list<unsigned> address, unsigned length,
                            unsigned peerAS, const Bytes& attributes, bool ipv6 = false) {
  Bytes e;
  unsigned written = 0;
  for (unsigned b : address) e.u8(b), ++written;
  e.zeros((ipv6 ? 16 : 4) - written).u8(length).u8(1).u32(999).zeros(ipv6 ? 16 : 4).u16(peerAS);
  return e.u16(static_cast<unsigned>(attributes.size())).add(attributes);
}

inline Bytes tableDump(const Bytes& entry, bool ipv6 = false, int lengthDelta = 0) {
  Bytes b;
  b.u16(0).u16(1).add(entry);
  return record(12, ipv6 ? 2 : 1, b, lengthDelta);
}

}  // namespace mrtw

#endif  // ZELGRIN_TESTS_PARSERS_MRT_WRITER_H
