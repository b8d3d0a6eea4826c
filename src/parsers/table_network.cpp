#include "parsers/table_network.h"

#include <cstring>

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
// one colon, then optionally "/len" up to 128.
bool isIPv6(const char* text, std::size_t length, bool withLength) {
  std::size_t i = 0;
  bool colon = false;
  while (i < length && (isHexDigit(text[i]) || text[i] == ':' || text[i] == '.')) {
    colon = colon || text[i] == ':';
    ++i;
  }
  if (!colon) return false;
  if (withLength && i < length && text[i] == '/') {
    ++i;
    unsigned value = 0;
    if (!readNumber(text, length, i, 3, value) || value > 128) return false;
  }
  return i == length;
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

NetworkKind readTableNetwork(const char* text, std::size_t length, IPAddress& address,
                             std::optional<IPNetmask>& netmask) {
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
    if (!readDottedQuad(text, length, bytes, &prefixLength)) return NetworkKind::invalid;
    address.setAddress(bytes[0], bytes[1], bytes[2], bytes[3]);
    const bool defaultRoute = address.value() == 0 && prefixLength < 0;
    if (prefixLength >= 0 || defaultRoute) {
      netmask.emplace(static_cast<char>(defaultRoute ? 0 : prefixLength));
    } else {
      netmask.reset();
    }
    return NetworkKind::ipv4;
  }
  if (decimal && dots > 0) return NetworkKind::invalid;
  return isIPv6(text, length, true) ? NetworkKind::ipv6 : NetworkKind::other;
}

bool readNextHop(const char* text, std::size_t length, IPAddress& address) {
  if (length == 1 && text[0] == '-') return true;
  unsigned char bytes[4] = {0, 0, 0, 0};
  if (readDottedQuad(text, length, bytes, nullptr)) {
    address.setAddress(bytes[0], bytes[1], bytes[2], bytes[3]);
    return true;
  }
  return isIPv6(text, length, false);
}
