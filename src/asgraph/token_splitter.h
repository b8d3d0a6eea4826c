// Splits a NUL-terminated line in place into its tokens, for the readers whose formats separate
// fields by spaces (the graph file) or by spaces and tabs (path-saturation output). Header-only,
// beside as_number.h, so that the parsers and the graph file reader share it.
#ifndef ZELGRIN_ASGRAPH_TOKEN_SPLITTER_H
#define ZELGRIN_ASGRAPH_TOKEN_SPLITTER_H

class TokenSplitter {
 public:
  // Which characters separate tokens; runs of them count as one separator.
  enum class Separators { spaces, spacesAndTabs };

  TokenSplitter(char* text, Separators separators)
      : rest_(text), tabs_(separators == Separators::spacesAndTabs) {}

  // The next token, NUL-terminated inside the buffer, or null when none is left.
  char* next() {
    while (isSeparator(*rest_)) ++rest_;
    if (*rest_ == '\0') return nullptr;
    char* token = rest_;
    while (*rest_ != '\0' && !isSeparator(*rest_)) ++rest_;
    if (*rest_ != '\0') *rest_++ = '\0';
    return token;
  }
  // Passes over up to `count` tokens; false when the buffer ran out first.
  bool skip(int count) {
    for (; count > 0; --count) {
      if (next() == nullptr) return false;
    }
    return true;
  }

 private:
  bool isSeparator(char c) const { return c == ' ' || (tabs_ && c == '\t'); }

  char* rest_;
  bool tabs_;
};

#endif  // ZELGRIN_ASGRAPH_TOKEN_SPLITTER_H
