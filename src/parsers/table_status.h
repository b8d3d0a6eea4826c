// The status area at the start of a router table route: the codes each platform's legend lists,
// in the positions it prints them. Used by the table reader to find where the network starts.
//   IOS, IOS-XE, FRR: s d h * > i r S m b x a c t f L N R V I = (" r>i", "*bi", "*>   ")
//   NX-OS: x in column 1, | or & in column 2, path type e l r a c i in column 3 ("*&e", "x e")
//   Arista: blanks between the codes (" * >", " * #", E, c, b, L)
// A hand-edited capture may hold a "." too; it reads as a code that sets no bit. Some codes are
// hexadecimal letters, so an IPv6 network such as "fd00::/8" is told from them by its form.
#ifndef ZELGRIN_PARSERS_TABLE_STATUS_H
#define ZELGRIN_PARSERS_TABLE_STATUS_H

#include <cstddef>

struct TableStatus {
  // The column where the status area ends: a blank, the end of the line, or the first
  // character of a network glued to the codes ("*>i10.0.0.0/8").
  std::size_t end = 0;
  // Bits as in the classic dump record: s 1, d 2, h 4, * 8, > 16, i 32, S 64; the other codes
  // set none.
  unsigned char bits = 0;
  // False when the text after the codes cannot start a network or next hop (a word such as
  // "Status"), so that the line is no route at all.
  bool routeMayFollow = false;
};

// Reads the status area of a line: from its first non-blank character, codes in columns up to
// `lastColumn`, with blanks between short groups of codes. A word written as an IPv6 network
// ends the area even where its letters are codes, unless it is glued to codes left of
// `networkColumn`, the Network caption's.
TableStatus readTableStatus(const char* text, std::size_t length, std::size_t lastColumn,
                            std::size_t networkColumn);

// True when c starts a network or next hop glued to the status codes.
bool startsGluedNetwork(char c);

#endif  // ZELGRIN_PARSERS_TABLE_STATUS_H
