// Free text of a graph (its comment and source-file names) written into the text formats that
// the export produces. Such text may hold any byte but a line break: each format gets valid
// UTF-8 in which its own special characters are escaped, so that every reader accepts it.
#ifndef ZELGRIN_EXPORT_TEXT_ESCAPE_H
#define ZELGRIN_EXPORT_TEXT_ESCAPE_H

#include "export/output_buffer.h"

enum class TextSyntax {
  xml,   // element content: & < > escaped; characters XML 1.0 forbids replaced
  json,  // inside a string: " \ and control characters escaped
  dot,   // inside a quoted graphviz string: " and \ escaped, control characters replaced
};

// Appends `text` for the given syntax. Bytes that are not well-formed UTF-8 each become U+FFFD
// (the replacement character), as do characters the syntax cannot carry. Surrounding quotes are
// the caller's.
void appendEscaped(OutputBuffer& out, const char* text, TextSyntax syntax);

#endif  // ZELGRIN_EXPORT_TEXT_ESCAPE_H
