#include "parsers/table_network.h"

#include <cstring>
#include <string_view>

#include "asgraph/read_number.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool contains(const char* text, std::size_t length, char c) {
  return std::memchr(text, c, length) != nullptr;
}

// Reads up to `maxDigits` decimal digits at text[i] into value; false when there are none.
bool readNumber(const char* text, std::size_t length, std::size_t& i, std::size_t maxDigits,
                unsigned& value) {
  unsigned long long number = 0;
  const char* last = text + (length - i < maxDigits ? length : i + maxDigits);
  const NumberRead read = readDigits(text + i, last, number);
  value = static_cast<unsigned>(number);
  i = static_cast<std::size_t>(read.ptr - text);
  return read.status != NumberStatus::noDigits;
}

// "a.b.c.d" with plain decimal bytes, then "/len" when `prefixLength` is not null. A missing
// length leaves *prefixLength at -1.
bool readDottedQuad(const char* text, std::size_t length, unsigned char (&bytes)[4],
                    int* prefixLength) {
  std::size_t i = 0;
  for (int n = 0; n < 4; ++n) {
    if (n > 0 && (i >= length || text[i++] != '.')) return false;
    unsigned value = 0;
    if (!readNumber(text, length, i, 3, value) || value > 255) return false;
    bytes[n] = static_cast<unsigned char>(value);
  }
  if (prefixLength != nullptr) {
    *prefixLength = -1;
    if (i < length && text[i] == '/') {
      ++i;
      unsigned value = 0;
      if (!readNumber(text, length, i, 2, value) || value > 32) return false;
      *prefixLength = static_cast<int>(value);
    }
  }
  return i == length;
}

// Hexadecimal digits, colons and dots (an IPv4 tail such as "::ffff:10.1.1.1") with at least
// one colon: an IPv6 next hop. Loose on purpose, so that every next hop read so far still is.
bool isIPv6Address(const char* text, std::size_t length) {
  bool colon = false;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (!isHexDigit(c) && c != ':' && c != '.') return false;
    colon = colon || c == ':';
  }
  return colon;
}

// A link-local next hop names its interface: "fe80::1%eth0".
bool isZonedIPv6(const char* text, std::size_t length) {
  const void* percent = std::memchr(text, '%', length);
  if (percent == nullptr) return false;
  const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(percent) - text);
  return at + 1 < length && isIPv6Address(text, at);
}

}  // namespace

bool looksLikeNetwork(const char* text, std::size_t length) {
  if (length == 0) return false;
  const char first = text[0];
  const bool starts = isDigit(first) || first == ':' ||
                      (first == '[' && length > 1 && isDigit(text[1])) ||
                      (isHexDigit(first) && contains(text, length, ':'));
  if (!starts) return false;
  return contains(text, length, '.') || contains(text, length, ':') ||
         contains(text, length, '/') || contains(text, length, '[');
}

bool looksLikeIPv6(const char* text, std::size_t length) {
  std::size_t colons = 0;
  std::size_t group = 0;  // characters since the last colon
  bool doubleColon = false;
  bool dotted = false;
  std::size_t i = 0;
  for (; i < length && text[i] != '/'; ++i) {
    const char c = text[i];
    if (c == ':') {
      doubleColon = doubleColon || (i > 0 && text[i - 1] == ':');
      ++colons;
      group = 0;
      continue;
    }
    if (c == '.') {
      dotted = true;
    } else if (!isHexDigit(c)) {
      return false;
    }
    // More than four hexadecimal digits is an AS number or a count ("65000:2:65000:100/96").
    if (++group > 4 && !dotted) return false;
  }
  // The address is written in full (seven colons, six before an IPv4 tail) or shortened by
  // "::"; fewer groups are route targets and the like.
  if (!doubleColon && colons < 6) return false;
  if (i == length) return true;
  ++i;
  if (i == length) return false;
  for (; i < length; ++i) {
    if (!isDigit(text[i])) return false;
  }
  return true;
}

TableNetwork readTableNetwork(const char* text, std::size_t length) {
  TableNetwork network;
  std::size_t dots = 0;
  bool decimal = true;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c == '.') ++dots;
    decimal = decimal && (isDigit(c) || c == '.' || c == '/');
  }
  if (decimal && dots == 3) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    int prefixLength = -1;
    if (!readDottedQuad(text, length, bytes, &prefixLength)) return network;
    network.kind = NetworkKind::ipv4;
    network.address.setAddress(bytes[0], bytes[1], bytes[2], bytes[3]);
    const bool defaultRoute = network.address.value() == 0 && prefixLength < 0;
    if (prefixLength >= 0 || defaultRoute) {
      network.netmask.emplace(static_cast<char>(defaultRoute ? 0 : prefixLength));
    }
    return network;
  }
  if (decimal && dots > 0) return network;
  if (!looksLikeIPv6(text, length)) {
    network.kind = NetworkKind::other;
  } else if (parseIPv6Prefix(std::string_view(text, length), network.prefix6)) {
    network.kind = NetworkKind::ipv6;
  }
  return network;
}

bool readNextHop(const char* text, std::size_t length, IPAddress& address) {
  if (length == 1 && text[0] == '-') return true;
  unsigned char bytes[4] = {0, 0, 0, 0};
  if (readDottedQuad(text, length, bytes, nullptr)) {
    address.setAddress(bytes[0], bytes[1], bytes[2], bytes[3]);
    return true;
  }
  return isIPv6Address(text, length) || isZonedIPv6(text, length);
}
