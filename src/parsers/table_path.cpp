#include "parsers/table_path.h"

#include <cstring>

#include "asgraph/as_number.h"

namespace {

const char kOriginCodes[] = "ie?";
const char kBadAS[] = "Invalid AS number or path flag: `";
const char kMismatch[] = "Parentheses mismatch in AS path";
const char kNested[] = "Nested AS attributes";

unsigned char originBit(char c) {
  const char* hit = c != '\0' ? std::strchr(kOriginCodes, c) : nullptr;
  return hit != nullptr ? static_cast<unsigned char>(1u << (hit - kOriginCodes)) : 0;
}

}  // namespace

TablePathReader::Result TablePathReader::read(const char* text,
                                              const std::vector<TableToken>& tokens,
                                              std::size_t first) {
  result_ = readWords(text, tokens, first);
  return result_;
}

TablePathReader::Result TablePathReader::readWords(const char* text,
                                                   const std::vector<TableToken>& tokens,
                                                   std::size_t first) {
  items_.clear();
  origin_ = 0;
  inSet_ = false;
  inSegment_ = false;
  aboveLimit_ = false;
  problem_.clear();
  std::size_t count = tokens.size();
  std::size_t lastEnd = count > first ? tokens[count - 1].end : 0;
  if (count > first) {
    // The origin code ends the path, alone or glued to the last AS number or set.
    const TableToken& last = tokens[count - 1];
    const char code = text[last.end - 1];
    if (last.length() == 1 && originBit(code) != 0) {
      origin_ = originBit(code);
      --count;
    } else if (last.length() > 1 && originBit(code) != 0) {
      const char before = text[last.end - 2];
      if ((before >= '0' && before <= '9') || before == '}' || before == ')') {
        origin_ = originBit(code);
        --lastEnd;
      }
    }
  }
  for (std::size_t t = first; t < count; ++t) {
    const std::size_t end = t + 1 == tokens.size() ? lastEnd : tokens[t].end;
    // Set members may stand between commas within one word.
    std::size_t begin = tokens[t].start;
    while (begin < end) {
      std::size_t comma = begin;
      while (comma < end && text[comma] != ',') ++comma;
      if (comma > begin && !readPart(text, begin, comma)) return Result::malformed;
      begin = comma + 1;
    }
  }
  if (inSet_ || inSegment_) {
    fail(kMismatch);
    return Result::malformed;
  }
  return aboveLimit_ ? Result::aboveLimit : Result::ok;
}

// One AS number with the braces or parentheses that open or close around it.
bool TablePathReader::readPart(const char* text, std::size_t begin, std::size_t end) {
  if (text[begin] == '{' || text[begin] == '(') {
    if (inSet_ || inSegment_) return fail(kNested);
    (text[begin] == '{' ? inSet_ : inSegment_) = true;
    ++begin;
  }
  bool closeSet = false;
  bool closeSegment = false;
  if (end > begin && (text[end - 1] == '}' || text[end - 1] == ')')) {
    bool& open = text[end - 1] == '}' ? inSet_ : inSegment_;
    if (!open) return fail(kMismatch);
    (text[end - 1] == '}' ? closeSet : closeSegment) = true;
    --end;
  }
  if (end > begin) {
    ASItem item;
    const ASRead read = readASToken(text + begin, end - begin, item.AS, width_);
    if (read == ASRead::invalid) return fail(kBadAS, text + begin, end - begin);
    if (read == ASRead::aboveLimit) {
      aboveLimit_ = true;
    } else {
      if (inSet_) item.flags |= ASItem::setFlag;
      if (inSegment_) item.flags |= ASItem::confedFlag;
      items_.push_back(item);
    }
  }
  if (closeSet) inSet_ = false;
  if (closeSegment) inSegment_ = false;
  return true;
}

bool TablePathReader::fail(const char* message, const char* text, std::size_t length) {
  problem_.assign(message);
  if (text != nullptr) {
    problem_.append(text, length);
    problem_.push_back('\'');
  }
  return false;
}
