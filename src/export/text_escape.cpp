#include "export/text_escape.h"

#include <cstdint>

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The length of the well-formed UTF-8 sequence at `text` (1 to 4) with its code point, or 0
// when the bytes there are not one: stray continuation bytes, overlong forms, surrogates and
// code points past U+10FFFF are all refused.
int decodeUtf8(const unsigned char* text, std::uint32_t& codePoint) {
  const unsigned char lead = text[0];
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  int length;
  std::uint32_t smallest;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    smallest = 0x10000;
  } else {
    return 0;
  }
  // A NUL ends the text and is no continuation byte, so this never reads past the end.
  for (int i = 1; i < length; ++i) {
    if ((text[i] & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (text[i] & 0x3F);
  }
  if (codePoint < smallest || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

// Characters that XML 1.0 allows nowhere: controls other than tab, line feed and carriage
// return, and the two non-characters U+FFFE and U+FFFF.
bool forbiddenInXml(std::uint32_t c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF;
}

const char kHex[] = "0123456789abcdef";

template <typename Out>
void appendJsonControl(Out& out, std::uint32_t c) {
  const char text[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
  out.append(text, sizeof text);
}

// Each byte as \xHH: a terminal shows it and acts on none of it.
template <typename Out>
void appendHexBytes(Out& out, const char* bytes, int length) {
  for (int i = 0; i < length; ++i) {
    const unsigned char byte = static_cast<unsigned char>(bytes[i]);
    const char text[] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    out.append(text, sizeof text);
  }
}

// Appends one decoded character; false when the syntax cannot carry it.
template <typename Out>
bool appendCharacter(Out& out, const char* bytes, int length, std::uint32_t c, TextSyntax syntax) {
  switch (syntax) {
    case TextSyntax::xml:
      if (forbiddenInXml(c)) return false;
      if (c == '&') {
        out.append("&amp;");
      } else if (c == '<') {
        out.append("&lt;");
      } else if (c == '>') {
        out.append("&gt;");
      } else {
        out.append(bytes, static_cast<std::size_t>(length));
      }
      return true;
    case TextSyntax::json:
      if (c == '"' || c == '\\') {
        out.append('\\');
        out.append(static_cast<char>(c));
      } else if (c < 0x20) {
        appendJsonControl(out, c);
      } else {
        out.append(bytes, static_cast<std::size_t>(length));
      }
      return true;
    case TextSyntax::dot:
      if (c < 0x20 || c == 0x7F) return false;
      if (c == '"' || c == '\\') out.append('\\');
      out.append(bytes, static_cast<std::size_t>(length));
      return true;
    case TextSyntax::terminal:
      // C1 controls count too: some terminals act on U+009B as on ESC [.
      if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
        appendHexBytes(out, bytes, length);
      } else {
        if (c == '\\') out.append('\\');
        out.append(bytes, static_cast<std::size_t>(length));
      }
      return true;
  }
  return false;
}

template <typename Out>
void appendText(Out& out, const char* text, TextSyntax syntax) {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(text);
  while (*at != '\0') {
    std::uint32_t c;
    const int length = decodeUtf8(at, c);
    const char* bytes = reinterpret_cast<const char*>(at);
    if (length == 0 && syntax == TextSyntax::terminal) {
      appendHexBytes(out, bytes, 1);
    } else if (length == 0 || !appendCharacter(out, bytes, length, c, syntax)) {
      out.append(kReplacement, sizeof kReplacement - 1);
    }
    at += length == 0 ? 1 : length;
  }
}

// A string taking what the writers append to an output buffer.
class StringOut {
 public:
  explicit StringOut(std::string& text) : text_(text) {}
  void append(char c) { text_ += c; }
  void append(const char* text, std::size_t length) { text_.append(text, length); }
  void append(const char* text) { text_ += text; }

 private:
  std::string& text_;
};

}  // namespace

void appendEscaped(OutputBuffer& out, const char* text, TextSyntax syntax) {
  appendText(out, text, syntax);
}

std::string escapedForTerminal(const std::string& text) {
  std::string escaped;
  StringOut out(escaped);
  appendText(out, text.c_str(), TextSyntax::terminal);
  return escaped;
}

void appendEscapedList(OutputBuffer& out, List<char*>& names, const char* separator,
                       TextSyntax syntax, char quote) {
  bool more = !names.isEmpty();
  bool first = true;
  for (names.goToFirst(); more; more = names.next()) {
    if (!first) out.append(separator);
    if (quote != '\0') out.append(quote);
    appendEscaped(out, names.current(), syntax);
    if (quote != '\0') out.append(quote);
    first = false;
  }
}
