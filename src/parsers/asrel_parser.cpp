#include "parsers/asrel_parser.h"

#include <cstring>
#include <string_view>

#include "asgraph/as_number.h"

namespace {

const char kNoFile[] = "No file has been opened";
const char kMissingField[] = "Unable to find both AS numbers and the relationship";
const char kBadAS[] = "Invalid AS number: `";
const char kBadRelationship[] = "Invalid relationship: `";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The field text[begin, end) without the blanks around it.
std::string_view trimmed(const char* text, std::size_t begin, std::size_t end) {
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::string_view(text + begin, end - begin);
}

// A line not starting with an AS number that is still meant as a record ("AS3|4|-1",
// "+5 6 0"): fields split by '|', or a third word that is a relationship. Comments ('#') and
// legends such as "-1 (<FromNodeId> is a customer of <ToNodeId>)" are not.
bool looksLikeRecord(const char* text, std::size_t length) {
  if (length == 0 || text[0] == '#') return false;
  if (std::memchr(text, '|', length) != nullptr) return true;
  std::size_t i = 0;
  for (int word = 0; word < 2; ++word) {
    while (i < length && !isBlank(text[i])) ++i;
    while (i < length && isBlank(text[i])) ++i;
  }
  std::size_t end = i;
  while (end < length && !isBlank(text[end])) ++end;
  const std::string_view third(text + i, end - i);
  return third == "-1" || third == "0" || third == "1" || third == "2";
}

}  // namespace

Parser::NextLineResult AsrelParser::nextLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return noFileOpen;
  }
  if (readLines() == 0) {
    dialect_ = Dialect::unknown;
    stats_.clear();
  }
  while (!streamDone() && readRawLine()) {
    // A NUL byte would cut off the rest of the line: delivered for parseLine to refuse.
    if (lineHasNul()) {
      stats_.countSkipped(nulLine);
      return lineReady;
    }
    char* text = mutableLine();
    std::size_t length = lineLength();
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
    truncateLine(length);
    std::size_t start = 0;
    while (start < length && isBlank(text[start])) ++start;
    // Comments, blank lines and legends are passed over; a line starting with an AS number is
    // data, and so is one with the shape of a record, which is then refused with its reason.
    const bool startsWithNumber = start < length && text[start] >= '0' && text[start] <= '9';
    if (!startsWithNumber && !looksLikeRecord(text + start, length - start)) continue;
    lineCode_ = parseOk;
    lineReason_.clear();
    const Dialect dialect = dialect_;
    const Outcome outcome = readRelationship(text, length);
    // Only a line of numbers tells the file's dialect.
    if (!startsWithNumber) dialect_ = dialect;
    if (outcome == Outcome::sibling) {
      stats_.countSkipped(siblingLink);
      continue;
    }
    if (outcome == Outcome::rejected) stats_.countSkipped(countedReason_);
    return lineReady;
  }
  emptyLine();
  return noMoreLines;
}

Parser::ParseResult AsrelParser::parseLine() {
  const ParseResult code = beginParse();
  if (code != parseOk) return code;
  if (lineCode_ != parseOk) setReason(lineReason_.c_str());
  return lineCode_;
}

AsrelParser::Outcome AsrelParser::readRelationship(const char* text, std::size_t length) {
  if (dialect_ == Dialect::unknown) {
    dialect_ = std::memchr(text, '|', length) != nullptr ? Dialect::caida : Dialect::snap;
  }
  return dialect_ == Dialect::caida ? readCaida(text, length) : readSnap(text, length);
}

// "<provider>|<customer>|<rel>[|<source>...]"
AsrelParser::Outcome AsrelParser::readCaida(const char* text, std::size_t length) {
  std::string_view fields[3];
  std::size_t count = 0;
  std::size_t begin = 0;
  while (count < 3 && begin <= length) {
    std::size_t end = begin;
    while (end < length && text[end] != '|') ++end;
    if (end == length && count < 2) break;  // fewer than three fields
    fields[count++] = trimmed(text, begin, end);
    begin = end + 1;
  }
  if (count < 3 || fields[0].empty() || fields[1].empty() || fields[2].empty()) {
    return reject(parseMissingField, kMissingField);
  }
  ASNumber provider = 0;
  ASNumber customer = 0;
  if (!readAS(fields[0].data(), fields[0].size(), provider) ||
      !readAS(fields[1].data(), fields[1].size(), customer)) {
    return Outcome::rejected;
  }
  const std::string_view relation = fields[2];
  if (relation != "-1" && relation != "0" && relation != "1") {
    return reject(parseBadValue, kBadRelationship, relation.data(), relation.size());
  }
  data.from = customer;
  data.to = provider;
  data.peering = relation != "-1";
  return Outcome::record;
}

// "<from> <to> <rel>", blanks or tabs between; words after the relationship are ignored.
AsrelParser::Outcome AsrelParser::readSnap(const char* text, std::size_t length) {
  std::string_view words[3];
  std::size_t count = 0;
  std::size_t i = 0;
  while (count < 3) {
    while (i < length && isBlank(text[i])) ++i;
    if (i == length) break;
    const std::size_t begin = i;
    while (i < length && !isBlank(text[i])) ++i;
    words[count++] = std::string_view(text + begin, i - begin);
  }
  if (count < 3) return reject(parseMissingField, kMissingField);
  ASNumber first = 0;
  ASNumber second = 0;
  if (!readAS(words[0].data(), words[0].size(), first) ||
      !readAS(words[1].data(), words[1].size(), second)) {
    return Outcome::rejected;
  }
  const std::string_view relation = words[2];
  if (relation == "2") return Outcome::sibling;
  if (relation == "-1") {
    data.from = first;
    data.to = second;
  } else if (relation == "1" || relation == "0") {
    data.from = second;
    data.to = first;
  } else {
    return reject(parseBadValue, kBadRelationship, relation.data(), relation.size());
  }
  data.peering = relation == "0";
  return Outcome::record;
}

bool AsrelParser::readAS(const char* text, std::size_t length, ASNumber& as) {
  switch (readASToken(text, length, as, width())) {
    case ASRead::ok:
      return true;
    case ASRead::aboveLimit:
      reject(parseBadValue, kAboveAS16Reason);
      lineReason_.append(": `").append(text, length).push_back('\'');
      countedReason_ = kAboveAS16Reason;
      return false;
    case ASRead::invalid:
      break;
  }
  reject(parseBadValue, kBadAS, text, length);
  return false;
}

AsrelParser::Outcome AsrelParser::reject(ParseResult code, const char* reason, const char* text,
                                         std::size_t length) {
  lineCode_ = code;
  lineReason_.assign(reason);
  if (text != nullptr) {
    lineReason_.append(text, length);
    lineReason_.push_back('\'');
  }
  countedReason_ = malformedLine;
  return Outcome::rejected;
}
