// Opening an input file by the name given on the command line, where "-" is standard input.
// Used by both passes of graph construction and by the command line's checks.
#ifndef ZELGRIN_BUILD_OPEN_INPUT_H
#define ZELGRIN_BUILD_OPEN_INPUT_H

#include "parsers/parser.h"

// True when `name` stands for standard input.
inline bool isStdinName(const char* name) { return name[0] == '-' && name[1] == '\0'; }

// Opens `name` with the parser, standard input for "-". False with errno set when the file
// cannot be opened.
inline bool openInput(Parser& parser, const char* name) {
  if (!isStdinName(name)) return parser.openFile(name);
  parser.openStdin();
  return true;
}

#endif  // ZELGRIN_BUILD_OPEN_INPUT_H
