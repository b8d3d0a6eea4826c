#include "parsers/table_status.h"

#include <cstring>

#include "parsers/table_network.h"
#include "parsers/table_tokens.h"

namespace {

// The codes that set the classic record's bits, in bit order.
const char kClassicCodes[] = "sdh*>iS";

// A group of codes after a blank is short (" * >", "x e10.0.0.0/8"); a longer run of letters
// is a word of text, not a status.
const std::size_t kLongestLaterGroup = 2;

// Every code of the platforms' legends.
bool isCode(char c) {
  switch (c) {
    case 's':
    case 'd':
    case 'h':
    case '*':
    case '>':
    case 'i':
    case 'S':
    case 'r':
    case 'm':
    case 'b':
    case 'x':
    case 'a':
    case 'c':
    case 't':
    case 'f':
    case 'L':
    case 'N':
    case 'R':
    case 'V':
    case 'I':
    case 'e':
    case 'l':
    case '&':
    case '|':
    case '=':
    case '#':
    case 'E':
    case '.':
      return true;
    default:
      return false;
  }
}

unsigned char codeBit(char c) {
  const char* classic = std::strchr(kClassicCodes, c);
  return classic != nullptr ? static_cast<unsigned char>(1u << (classic - kClassicCodes)) : 0;
}

// True when a group of codes starts at `at` and ends, within kLongestLaterGroup characters,
// at a blank, the end of the line or a glued network.
bool laterGroupAt(const char* text, std::size_t at, std::size_t length) {
  std::size_t end = at;
  while (end < length && end - at < kLongestLaterGroup && isCode(text[end])) ++end;
  if (end == at) return false;
  return end == length || isTableBlank(text[end]) || startsGluedNetwork(text[end]);
}

bool isHexLetter(char c) { return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// True when text[at], a code letter, starts an IPv6 network instead ("*>ifd00::/8", "*> fd00::/8",
// NX-OS "*>eabcd::/16"). A letter glued to codes left of the Network caption stays a code, so that
// "*>e2001:db8::/32" and "*>ea::/16" both read the path type e.
bool startsIPv6Network(const char* text, std::size_t at, std::size_t length,
                       std::size_t networkColumn) {
  if (!isHexLetter(text[at])) return false;
  if (at < networkColumn && at > 0 && !isTableBlank(text[at - 1])) return false;
  std::size_t end = at;
  while (end < length && !isTableBlank(text[end])) ++end;
  return looksLikeIPv6(text + at, end - at);
}

}  // namespace

bool startsGluedNetwork(char c) { return (c >= '0' && c <= '9') || c == '[' || c == ':'; }

TableStatus readTableStatus(const char* text, std::size_t length, std::size_t lastColumn,
                            std::size_t networkColumn) {
  TableStatus status;
  std::size_t i = skipTableBlanks(text, 0, length);
  std::size_t codes = 0;
  bool ipv6Network = false;
  while (i < length && i <= lastColumn) {
    const char c = text[i];
    if (isCode(c) && startsIPv6Network(text, i, length, networkColumn)) {
      ipv6Network = true;
      break;
    }
    if (isCode(c)) {
      status.bits |= codeBit(c);  // c is a code, never the NUL strchr would find
      ++codes;
      ++i;
      continue;
    }
    if (!isTableBlank(c) || codes == 0) break;
    const std::size_t next = skipTableBlanks(text, i, length);
    if (next > lastColumn || !laterGroupAt(text, next, length)) break;
    i = next;
  }
  status.end = i;
  // Stopped on a blank or at the end: the next word decides. Stopped inside a word: only a
  // network can be glued to the codes.
  status.routeMayFollow =
      ipv6Network || i >= length || isTableBlank(text[i]) || startsGluedNetwork(text[i]);
  return status;
}
