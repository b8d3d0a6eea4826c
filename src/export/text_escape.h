// Free text of a graph (its comment and source-file names) written into the text formats that
// the export produces. Such text may hold any byte but a line break: each format gets valid
// UTF-8 in which its own special characters are escaped, so that every reader accepts it.
// Text meant for people (the summary, messages quoting a graph file) keeps every byte but
// cannot drive a terminal: control bytes become visible escapes instead.
#ifndef ZELGRIN_EXPORT_TEXT_ESCAPE_H
#define ZELGRIN_EXPORT_TEXT_ESCAPE_H

#include <string>

#include "containers/list.h"
#include "export/output_buffer.h"

enum class TextSyntax {
  xml,   // element content: & < > escaped; characters XML 1.0 forbids replaced
  json,  // inside a string: " \ and control characters escaped
  dot,   // inside a quoted graphviz string: " and \ escaped, control characters replaced
  // Plain text for a terminal: a backslash becomes \\, and each byte of a C0 or C1 control
  // character (U+0000 to U+001F, U+007F to U+009F) or of a sequence that is not UTF-8 becomes
  // \xHH (two lower-case hexadecimal digits), so that the original bytes can be told back.
  terminal,
};

// Appends `text` for the given syntax. Bytes that are not well-formed UTF-8 each become U+FFFD
// (the replacement character), as do characters the syntax cannot carry; for the terminal they
// become \xHH instead. Surrounding quotes are the caller's.
void appendEscaped(OutputBuffer& out, const char* text, TextSyntax syntax);

// Appends each of `names` for the given syntax, `separator` between two of them and each
// between two `quote` characters when quote is not NUL. Moves the list's cursor.
void appendEscapedList(OutputBuffer& out, List<char*>& names, const char* separator,
                       TextSyntax syntax, char quote = '\0');

// The text as TextSyntax::terminal writes it, up to its first NUL byte.
std::string escapedForTerminal(const std::string& text);

#endif  // ZELGRIN_EXPORT_TEXT_ESCAPE_H
