// The AS path of a router table route, from the words after the weight to the end of the line:
// AS numbers (asplain; asdot such as "65107.65107" in a 32-bit run), AS sets in braces with
// commas or blanks between members ("{27651,65478,65552}", "{64201 64202}"), confederation
// segments in parentheses, and the origin code i, e or ? as the last word or glued to the last
// AS ("3222 65401i"). Example: "300 33299 {27016} e".
#ifndef ZELGRIN_PARSERS_TABLE_PATH_H
#define ZELGRIN_PARSERS_TABLE_PATH_H

#include <cstddef>
#include <string>
#include <vector>

#include "asgraph/as_number.h"
#include "parsers/route.h"
#include "parsers/table_tokens.h"

class TablePathReader {
 public:
  enum class Result {
    ok,
    aboveLimit,  // well formed, with an AS number above 65535 in a 16-bit run
    malformed,   // problem() says why
  };

  // AS numbers above width.largest() make a path aboveLimit. 16-bit until set.
  void setWidth(ASWidth width) { width_ = width; }
  // Reads tokens[first, count) of `text`. The items and origin are those of the last read.
  Result read(const char* text, const std::vector<TableToken>& tokens, std::size_t first);

  // Items in line order. Marks: setFlag for the members of a set, confedFlag inside "(...)".
  const std::vector<ASItem>& items() const { return items_; }
  // Bits i 1, e 2, ? 4, as in the classic dump record; 0 without an origin code.
  unsigned char origin() const { return origin_; }
  // The outcome of the last read, and why it was malformed.
  Result result() const { return result_; }
  const std::string& problem() const { return problem_; }

 private:
  bool readPart(const char* text, std::size_t begin, std::size_t end);
  bool fail(const char* message, const char* text = nullptr, std::size_t length = 0);

  Result readWords(const char* text, const std::vector<TableToken>& tokens, std::size_t first);

  std::vector<ASItem> items_;
  ASWidth width_;
  unsigned char origin_ = 0;
  Result result_ = Result::ok;
  bool inSet_ = false;
  bool inSegment_ = false;
  bool aboveLimit_ = false;
  std::string problem_;
};

#endif  // ZELGRIN_PARSERS_TABLE_PATH_H
