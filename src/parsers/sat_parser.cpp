#include "parsers/sat_parser.h"

#include <cstdlib>
#include <cstring>

#include "asgraph/token_splitter.h"

const char SatParser::peerStr[] = "candidate peering";
const char SatParser::badStr[] = "bad path:";

namespace {

// A decimal number with nothing after it, as strtol reads it.
bool readDecimal(const char* token, long long& value) {
  const char* last = token + std::strlen(token);
  const char* end = readStrtol(token, last, value);
  return end != token && end == last;
}

bool readCovering(const char* token, double& value) {
  char* end = nullptr;
  value = std::strtod(token, &end);
  return end != token && *end == '\0' && !(value < 0);
}

}  // namespace

// A whole token read as strtol reads a number, or asdot in a wide run, within the run's range.
bool SatParser::readAS(const char* token, ASNumber& as) {
  const char* last = token + std::strlen(token);
  long long value = 0;
  const char* end = readDecimalAS(token, last, value, width());
  if (end == token || end != last || !acceptAS(static_cast<unsigned long long>(value))) {
    return false;
  }
  as = static_cast<ASNumber>(value);
  return true;
}

Parser::NextLineResult SatParser::nextLine() { return readLineLongerThan(5); }

Parser::ParseResult SatParser::parseLine() {
  ParseResult code = beginParse();
  if (code != parseOk) return code;
  data.candidatePeering = false;
  data.badPath = false;
  work_.assign(line(), lineLength());
  TokenSplitter tokens(&work_[0], TokenSplitter::Separators::spacesAndTabs);
  char* token = tokens.next();
  if (token == nullptr) {
    setReason("Line appears to be empty");
    return parseMissingField;
  }
  data.candidatePeering = std::strstr(line(), peerStr) != nullptr;
  data.badPath = std::strstr(line(), badStr) != nullptr;
  // The two words of the phrase take the first two tokens.
  if (data.candidatePeering || data.badPath) token = tokens.skip(1) ? tokens.next() : nullptr;
  while (!data.badPathASes.isEmpty()) data.badPathASes.pop();

  if (data.badPath) {
    for (; token != nullptr; token = tokens.next()) {
      ASNumber as = 0;
      if (!readAS(token, as)) {
        setQuotedReason("Invalid AS number in bad AS path: `", token);
        return parseBadValue;
      }
      data.badPathASes.enqueue(as);
    }
    return parseOk;
  }

  if (token == nullptr) {
    setReason("Unable to retrieve `from' AS number");
    return parseMissingField;
  }
  if (!readAS(token, data.from)) {
    setQuotedReason("Invalid AS number: `", token);
    return parseBadValue;
  }
  token = tokens.skip(1) ? tokens.next() : nullptr;
  if (token == nullptr) {
    setReason("Unable to retrieve `to' AS number");
    return parseMissingField;
  }
  if (!readAS(token, data.to)) {
    setQuotedReason("Invalid AS number: `", token);
    return parseBadValue;
  }

  if (!data.candidatePeering) {
    token = tokens.skip(3) ? tokens.next() : nullptr;
    if (token == nullptr) {
      setReason("Unable to retrieve reversed flag");
      return parseMissingField;
    }
    long long flag = 0;
    if (!readDecimal(token, flag) || (flag != 0 && flag != 1)) {
      setQuotedReason("Invalid reversed flag: `", token);
      return parseBadValue;
    }
    data.notReversed = flag == 0;
  }

  token = tokens.next();
  if (token == nullptr) {
    data.firstCovering.reset();
    data.secondCovering.reset();
    return parseOk;
  }
  double covering = 0;
  if (!readCovering(token, covering)) {
    setQuotedReason("Invalid edge covering value: `", token);
    return parseBadValue;
  }
  data.firstCovering = covering;
  token = tokens.skip(1) ? tokens.next() : nullptr;
  if (token == nullptr) {
    setReason("Unable to retrieve edge covering properties");
    return parseMissingField;
  }
  if (!readCovering(token, covering)) {
    setQuotedReason("Invalid edge covering value: `", token);
    return parseBadValue;
  }
  data.secondCovering = covering;
  return parseOk;
}
