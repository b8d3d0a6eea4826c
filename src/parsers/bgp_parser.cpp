#include "parsers/bgp_parser.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "asgraph/read_number.h"
#include "parsers/digit_run.h"

const char BgpParser::fieldCaptions[7][9] = {"Network", "Next Hop", "Metric",  "LocPrf",
                                             "Weight",  "Path",     "--More--"};
const char BgpParser::routeStatCodes[7] = {'s', 'd', 'h', '*', '>', 'i', 'S'};
const char BgpParser::routeOriginCodes[3] = {'i', 'e', '?'};
const char BgpParser::privateAS[2] = {'(', ')'};
const char BgpParser::ASset[2] = {'{', '}'};

namespace {

const char kNoFile[] = "No file has been opened";
const char kBadStatus[] = "Unrecognized route status character: `";
const char kNoNetworkColumn[] = "Could not determine position of network field";
const char kBadNetworkWithLength[] = "Invalid network address/netmask: `";
const char kBadLength[] = "Invalid netmask value: `";
const char kBadNetwork[] = "Invalid network address: `";
const char kBadNetworkByte[] = "Invalid network byte value: `";
const char kNoPreviousNetwork[] = "Could not retrieve any previous network value";
const char kNoNextHopColumn[] = "Could not determine position of next hop field";
const char kWrappedAtEnd[] = "Unexpected end of file (next hop expected)";
const char kNulInWrappedRest[] = "Line contains a NUL byte";
const char kNoNextHop[] = "Invalid next hop";
const char kBadNextHop[] = "Invalid next hop: `";
const char kBadNextHopByte[] = "Invalid next hop byte value: `";
const char kBadMetric[] = "Invalid metric value: `";
const char kBadLocalPref[] = "Invalid local preference value: `";
const char kBadWeight[] = "Invalid weight value: `";
const char kNoPathColumn[] = "Could not determine position of the AS path field";
const char kNoPath[] = "No AS path";
const char kMismatch[] = "Parentheses mismatch in AS path";
const char kNested[] = "Nested AS attributes";
const char kBadAS[] = "Invalid AS number or path flag: `";

// Routers print right-aligned numbers under a six-letter caption (Metric, LocPrf, Weight): a
// value is there when the character under the caption's last letter is not blank.
const std::size_t kCaptionLastLetter = 5;
// Networks up to this width fit their column; each character more pushes the rest right.
const std::size_t kNetworkWidth = 16;
// Shorter lines (line end included) carry nothing: blank lines, stray characters.
const std::size_t kMinimumLine = 4;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The bit of each character of a set of codes (its place in the set), 0 for any other: looked
// up for every character of every route start, so a table rather than a search.
class CodeBits {
 public:
  constexpr explicit CodeBits(const char* codes) {
    for (unsigned i = 0; codes[i] != '\0'; ++i) {
      bits_[static_cast<unsigned char>(codes[i])] = static_cast<unsigned char>(1u << i);
    }
  }
  unsigned operator()(char c) const { return bits_[static_cast<unsigned char>(c)]; }

 private:
  unsigned char bits_[256] = {};
};

// The status characters as Route::status counts them (routeStatCodes), and the origin codes as
// Route::origin does (routeOriginCodes).
constexpr CodeBits statusBit("sdh*>iS");
constexpr CodeBits originBit("ie?");

// End of the token starting at `from`: the next space or tab, or the end of the text.
std::size_t tokenEnd(const char* text, std::size_t from, std::size_t length) {
  while (from < length && !isBlank(text[from])) ++from;
  return from;
}

std::size_t skipBlanks(const char* text, std::size_t from, std::size_t length) {
  while (from < length && isBlank(text[from])) ++from;
  return from;
}

// An AS number of the path column: decimal as readWholeDecimal reads it, or in a wide run asdot
// ("1.10" is 65546), each half 0 to 65535 and the low half plain digits.
bool readPathAS(const char* text, std::size_t length, unsigned long long& value, ASWidth width) {
  const char* last = text + length;
  // Nearly every token is plain digits, read at once; the rest takes the general reading, which
  // gives the same value for them.
  const NumberRead plain = readDigits(text, last, value);
  if (plain.ptr == last && plain.status == NumberStatus::ok) return true;
  const char* dot = width.wide ? static_cast<const char*>(std::memchr(text, '.', length)) : nullptr;
  if (dot == nullptr) return readWholeDecimal(text, last, ~0ull, value);
  unsigned long long upper = 0;
  unsigned long long lower = 0;
  if (dot == text || dot[-1] < '0' || dot[-1] > '9' || dot + 1 == last || dot[1] < '0' ||
      dot[1] > '9' || !readWholeDecimal(text, dot, 65535, upper) ||
      !readWholeDecimal(dot + 1, last, 65535, lower)) {
    return false;
  }
  value = upper * 65536 + lower;
  return true;
}

// The scan "%i.%i.%i.%i/%i" (or without "/%i") of a token: the number of numbers read before
// the text stops matching. Routers print plain decimal bytes, but octal, hexadecimal and signs
// have always been read this way.
int readDotted(const char* token, std::size_t length, bool withLength, long long* numbers) {
  const char* p = token;
  const char* last = token + length;
  const int count = withLength ? 5 : 4;
  for (int n = 0; n < count; ++n) {
    if (n > 0) {
      if (p == last || *p != (n == 4 ? '/' : '.')) return n;
      ++p;
    }
    const char* end = readScanInteger(p, last, numbers[n]);
    if (end == p) return n;
    p = end;
  }
  return count;
}

// A plain decimal number at p, before `last`: "0", or up to `maxDigits` digits without a leading
// zero. Null for anything else, which readScanInteger may read otherwise (octal, signs, ...).
const char* readPlainNumber(const char* p, const char* last, int maxDigits, unsigned& value) {
  if (p == last || !isDigit(*p)) return nullptr;
  value = static_cast<unsigned>(*p - '0');
  ++p;
  if (value == 0) return p;
  for (int n = 1; n < maxDigits && p != last && isDigit(*p); ++n, ++p) {
    value = value * 10 + static_cast<unsigned>(*p - '0');
  }
  return p;
}

// The common address as routers print it: four plain decimal bytes up to 255, optionally with
// "/length" up to 32 when `withLength` allows it (`length` -1 without), ending the token. Any
// other text returns false untouched by this reading and takes readDotted, whose value and
// errors it would give alike.
bool readPlainDotted(const char* token, const char* last, bool withLength, unsigned char* bytes,
                     int& length, std::size_t& tokenLength) {
  const char* p = token;
  for (int n = 0; n < 4; ++n) {
    if (n > 0) {
      if (p == last || *p != '.') return false;
      ++p;
    }
    unsigned value = 0;
    p = readPlainNumber(p, last, 3, value);
    if (p == nullptr || value > 255) return false;
    bytes[n] = static_cast<unsigned char>(value);
  }
  length = -1;
  if (withLength && p != last && *p == '/') {
    unsigned value = 0;
    p = readPlainNumber(p + 1, last, 2, value);
    if (p == nullptr || value > 32) return false;
    length = static_cast<int>(value);
  }
  if (p != last && !isBlank(*p)) return false;
  tokenLength = static_cast<std::size_t>(p - token);
  return true;
}

// A column number of plain decimal digits up to `maximum` ending its token at `first`, read in
// one pass. False for anything else (signs, other characters, very long numbers), which
// readWholeDecimal then reads in full.
bool readPlainField(const char* first, const char* last, unsigned long long maximum,
                    unsigned long long& value) {
  unsigned long long sum = 0;
  const char* p = readDigitRun(first, last, sum);
  if (p == first || p - first > 19 || (p != last && !isBlank(*p)) || sum > maximum) return false;
  value = sum;
  return true;
}

// The end of the path token at `from` when it is plain decimal digits, as nearly every AS of a
// path is, with their value; `from` itself for any other token, which the general reading of
// parsePath then reads as it would read this one.
std::size_t plainASEnd(const char* text, std::size_t from, std::size_t length,
                       unsigned long long& value) {
  // Ten digits hold every 32-bit number.
  unsigned long long sum = 0;
  const std::size_t p =
      static_cast<std::size_t>(readDigitRun(text + from, text + length, sum, text) - text);
  if (p - from > 10 || (p < length && text[p] != ' ' && text[p] != ',')) return from;
  value = sum;
  return p;
}

}  // namespace

BgpParser::BgpParser() = default;

BgpParser::~BgpParser() = default;

// Line classification -----------------------------------------------------------------------

Parser::NextLineResult BgpParser::nextLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return noFileOpen;
  }
  if (readLines() == 0 && !continuing_) {
    // A new input: no table and no columns yet.
    tableState_ = false;
    for (std::size_t& column : columnPos_) column = 0;
    wrapCutByPart_ = false;
  }
  if (atEof()) return noMoreLines;
  if (!tableState_) {
    prevNetwork_.reset();
    prevNetmask_.reset();
  }
  while (!streamDone() && readRawLine()) {
    // In a table, a line holding a NUL byte may be a route cut short: it goes to parsing, which
    // refuses it, rather than being taken for the end of the table or skipped.
    if (tableState_ && lineHasNul()) {
      cutLineEnd();
      return lineReady;
    }
    const char* text = line();
    const std::size_t length = lineLength();
    if (length < kMinimumLine) continue;
    // The line end does not belong to the first token, so a line of blanks has none: it is no
    // header, pager prompt or route, and leaves the table as it is.
    std::size_t textLength = length;
    while (textLength > 0 && (text[textLength - 1] == '\n' || text[textLength - 1] == '\r')) {
      --textLength;
    }
    const std::size_t start = skipBlanks(text, 0, textLength);
    if (start == textLength) continue;
    const std::string_view first(text + start, tokenEnd(text, start, textLength) - start);
    if (first.find(fieldCaptions[0]) != std::string_view::npos) {
      recordHeader();
      tableState_ = true;
      continue;
    }
    const bool pager = first.find(fieldCaptions[6]) != std::string_view::npos;
    if (!tableState_) {
      // The table goes on after a pager prompt.
      if (pager) tableState_ = true;
      continue;
    }
    if (pager) continue;
    if (isRouteStart()) {
      cutLineEnd();
      return lineReady;
    }
    // A summary or any other line ends the table; a blank network in a later table must not
    // take the network of a route read before it.
    tableState_ = false;
    prevNetwork_.reset();
    prevNetmask_.reset();
  }
  emptyLine();
  return noMoreLines;
}

void BgpParser::recordHeader() {
  const char* text = line();
  for (int i = 0; i < columnCount; ++i) {
    const char* found = std::strstr(text, fieldCaptions[i]);
    if (found != nullptr) columnPos_[i] = static_cast<std::size_t>(found - text) + 1;
  }
}

// The first three characters are blanks or status characters, none of them twice.
bool BgpParser::isRouteStart() const {
  const char* text = line();
  unsigned seen = 0;
  for (int i = 0; i < 3; ++i) {
    if (text[i] == ' ') continue;
    const unsigned bit = statusBit(text[i]);
    if (bit == 0 || (seen & bit) != 0) return false;
    seen |= bit;
  }
  return true;
}

// Route parsing -----------------------------------------------------------------------------

Parser::ParseResult BgpParser::parseLine() {
  ParseResult code = beginParse();
  if (code != parseOk) return code;

  const char* text = line();
  const std::size_t length = lineLength();
  data.status = 0;
  for (std::size_t i = 0; i < 3 && i < length; ++i) {
    if (text[i] == ' ') continue;
    const unsigned bit = statusBit(text[i]);
    if (bit == 0) {
      setQuotedReason(kBadStatus, text + i, 1);
      return parseBadValue;
    }
    data.status |= static_cast<unsigned char>(bit);
  }

  std::size_t networkLength = 0;
  code = parseNetwork(networkLength);
  if (code != parseOk) return code;
  if (!prevNetwork_) {
    setReason(kNoPreviousNetwork);
    return parseMissingField;
  }
  data.network = *prevNetwork_;
  data.networkMask = prevNetmask_;

  const std::size_t nextHopColumn = columnPos_[nextHopCol];
  if (nextHopColumn == 0) {
    setReason(kNoNextHopColumn);
    return parseMissingField;
  }
  std::size_t shift = networkLength > kNetworkWidth ? networkLength - kNetworkWidth : 0;
  if (lineLength() < nextHopColumn + shift) {
    // The network filled the line: the router put the rest of the route on the next line,
    // aligned to the header.
    if (!readWrappedRest()) {
      setReason(kWrappedAtEnd);
      return parseInputEnded;
    }
    // The rest of the route is a line of its own and holds to the same rule as the first.
    if (lineHasNul()) {
      setReason(kNulInWrappedRest);
      return parseBadValue;
    }
    shift = 0;
  }

  if ((code = parseNextHop(shift)) != parseOk) return code;
  if ((code = parseMetric(shift)) != parseOk) return code;
  if ((code = parseSmallNumber(locPrfCol, shift, kBadLocalPref, data.localPref)) != parseOk)
    return code;
  if ((code = parseSmallNumber(weightCol, shift, kBadWeight, data.routeWeight)) != parseOk)
    return code;
  if ((code = parsePath(shift)) != parseOk) return code;
  ++parsedLines_;
  return parseOk;
}

// Reads the network column, if it holds one, into the previous network and netmask, and
// returns the width of its text in `tokenLength` (0 when the column is blank).
Parser::ParseResult BgpParser::parseNetwork(std::size_t& tokenLength) {
  tokenLength = 0;
  const std::size_t column = columnPos_[networkCol];
  if (column == 0) {
    setReason(kNoNetworkColumn);
    return parseMissingField;
  }
  const char* text = line();
  const std::size_t length = lineLength();
  if (length < column || isBlank(text[column - 1]))
    return parseOk;  // continues the previous network

  const char* token = text + column - 1;
  unsigned char bytes[4];
  int prefixLength = -1;
  if (readPlainDotted(token, text + length, true, bytes, prefixLength, tokenLength)) {
    prevNetwork_.emplace(bytes[0], bytes[1], bytes[2], bytes[3]);
    if (prefixLength > 0) {
      prevNetmask_.emplace(static_cast<char>(prefixLength));
    } else {
      prevNetmask_.reset();
    }
    return parseOk;
  }
  tokenLength = tokenEnd(text, column - 1, length) - (column - 1);
  const bool withLength = std::memchr(token, '/', tokenLength) != nullptr;
  long long numbers[5] = {0, 0, 0, 0, 0};
  const int count = readDotted(token, tokenLength, withLength, numbers);
  if (withLength) {
    if (count < 5) {
      setQuotedReason(kBadNetworkWithLength, token, tokenLength);
      return parseBadValue;
    }
    if (numbers[4] < 0 || numbers[4] > 32) {
      setNumberReason(kBadLength, numbers[4]);
      return parseBadValue;
    }
  } else if (count < 4) {
    setQuotedReason(kBadNetwork, token, tokenLength);
    return parseBadValue;
  }
  for (int i = 0; i < 4; ++i) {
    if (numbers[i] < 0 || numbers[i] > 255) {
      setNumberReason(kBadNetworkByte, numbers[i]);
      return parseBadValue;
    }
  }
  prevNetwork_.emplace(
      static_cast<unsigned char>(numbers[0]), static_cast<unsigned char>(numbers[1]),
      static_cast<unsigned char>(numbers[2]), static_cast<unsigned char>(numbers[3]));
  // Without a length, or with /0, graph construction derives the prefix from the address.
  if (withLength && numbers[4] > 0) {
    prevNetmask_.emplace(static_cast<char>(numbers[4]));
  } else {
    prevNetmask_.reset();
  }
  return parseOk;
}

// Replaces the current line with the next one of at least four characters that is not a pager
// prompt, counting every line read as parsed. False when the input ends first.
bool BgpParser::readWrappedRest() {
  wrappedLine_.assign(line(), lineLength());
  while (!streamDone() && readRawLine()) {
    ++parsedLines_;
    const std::size_t length = lineLength();
    if (length < kMinimumLine || std::strstr(line(), fieldCaptions[6]) != nullptr) continue;
    const char* text = line();
    if (text[length - 1] == '\n' && length >= 2 && text[length - 2] == '\r') {
      truncateLine(length - 2);
    } else if (text[length - 1] == '\n' || text[length - 1] == '\r') {
      truncateLine(length - 1);
    }
    return true;
  }
  if (atPartEnd()) wrapCutByPart_ = true;
  restoreLine(wrappedLine_);
  return false;
}

Parser::ParseResult BgpParser::parseNextHop(std::size_t shift) {
  const char* text = line();
  const std::size_t length = lineLength();
  const std::size_t start = skipBlanks(text, columnPos_[nextHopCol] - 1 + shift, length);
  if (start >= length) {
    setReason(kNoNextHop);
    return parseMissingField;
  }
  const char* token = text + start;
  unsigned char bytes[4];
  int unusedLength = -1;
  std::size_t tokenLength = 0;
  if (readPlainDotted(token, text + length, false, bytes, unusedLength, tokenLength)) {
    data.nextHop.setAddress(bytes[0], bytes[1], bytes[2], bytes[3]);
    return parseOk;
  }
  tokenLength = tokenEnd(text, start, length) - start;
  long long numbers[4] = {0, 0, 0, 0};
  const int count = readDotted(token, tokenLength, false, numbers);
  if (count < 4) {
    setQuotedReason(kBadNextHop, token, tokenLength);
    return parseBadValue;
  }
  for (int i = 0; i < 4; ++i) {
    if (numbers[i] < 0 || numbers[i] > 255) {
      setNumberReason(kBadNextHopByte, numbers[i]);
      return parseBadValue;
    }
  }
  data.nextHop.setAddress(
      static_cast<unsigned char>(numbers[0]), static_cast<unsigned char>(numbers[1]),
      static_cast<unsigned char>(numbers[2]), static_cast<unsigned char>(numbers[3]));
  return parseOk;
}

Parser::ParseResult BgpParser::parseMetric(std::size_t shift) {
  const std::size_t column = columnPos_[metricCol];
  const char* text = line();
  const std::size_t length = lineLength();
  const std::size_t lastLetter = column + shift + kCaptionLastLetter - 1;
  if (column == 0 || lastLetter >= length || isBlank(text[lastLetter])) {
    data.metric.reset();
    return parseOk;
  }
  // A metric wider than its caption starts left of it: walk back to the blank before it.
  std::size_t start = column - 1 + shift;
  while (start > 0 && text[start] != ' ') --start;
  start = skipBlanks(text, start, length);
  unsigned long long value = 0;
  if (!readPlainField(text + start, text + length, ~0ull, value)) {
    const std::size_t tokenLength = tokenEnd(text, start, length) - start;
    if (!readWholeDecimal(text + start, text + start + tokenLength, ~0ull, value)) {
      setQuotedReason(kBadMetric, text + start, tokenLength);
      return parseBadValue;
    }
  }
  data.metric = value;
  return parseOk;
}

Parser::ParseResult BgpParser::parseSmallNumber(Column which, std::size_t shift,
                                                const char* message, std::optional<int>& field) {
  const std::size_t column = columnPos_[which];
  const char* text = line();
  const std::size_t length = lineLength();
  const std::size_t lastLetter = column + shift + kCaptionLastLetter - 1;
  if (column == 0 || lastLetter >= length || isBlank(text[lastLetter])) {
    field.reset();
    return parseOk;
  }
  const std::size_t start = skipBlanks(text, column - 1 + shift, length);
  unsigned long long value = 0;
  if (!readPlainField(text + start, text + length, 65535, value)) {
    const std::size_t tokenLength = tokenEnd(text, start, length) - start;
    if (!readWholeDecimal(text + start, text + start + tokenLength, 65535, value)) {
      setQuotedReason(message, text + start, tokenLength);
      return parseBadValue;
    }
  }
  field = static_cast<int>(value);
  return parseOk;
}

Parser::ParseResult BgpParser::parsePath(std::size_t shift) {
  const std::size_t column = columnPos_[pathCol];
  if (column == 0) {
    setReason(kNoPathColumn);
    return parseMissingField;
  }
  const char* text = line();
  const std::size_t length = lineLength();
  if (length < column + shift) {
    setReason(kNoPath);
    return parseMissingField;
  }
  pathLength_ = 0;
  data.origin = 0;

  const ASWidth run = width();
  bool inPrivate = false;
  bool inSet = false;
  std::size_t i = column - 1 + shift;
  while (i < length) {
    if (text[i] == ' ' || text[i] == ',') {
      ++i;
      continue;
    }
    std::size_t begin = i;
    unsigned long long plain = 0;
    const std::size_t plainEnd = plainASEnd(text, i, length, plain);
    if (plainEnd != i && run.accepts(plain)) {
      ASItem item;
      item.AS = static_cast<ASNumber>(plain);
      if (inSet) item.flags |= ASItem::setFlag;
      appendItem(item);
      i = plainEnd;
      continue;
    }
    while (i < length && text[i] != ' ' && text[i] != ',') ++i;
    std::size_t end = i;

    ASItem item;
    if (inPrivate || (text[begin] == privateAS[0] && end - begin > 1)) {
      if (text[begin] == privateAS[0]) {
        if (inPrivate) {
          setReason(kMismatch);
          return parseMissingField;
        }
        ++begin;
      }
      inPrivate = true;
      if (inSet) {
        setReason(kNested);
        return parseBadValue;
      }
    }
    if (inSet || (text[begin] == ASset[0] && end - begin > 1)) {
      item.flags |= ASItem::setFlag;
      if (text[begin] == ASset[0]) {
        if (inSet) {
          setReason(kMismatch);
          return parseMissingField;
        }
        ++begin;
      }
      inSet = true;
      if (inPrivate) {
        setReason(kNested);
        return parseBadValue;
      }
    }
    if (end - begin == 1) {
      const unsigned origin = originBit(text[begin]);
      if (origin != 0) {
        data.origin |= static_cast<unsigned char>(origin);
        continue;
      }
    }
    if (end - begin >= 2 && text[end - 1] == privateAS[1]) {
      if (!inPrivate) {
        setReason(kMismatch);
        return parseMissingField;
      }
      inPrivate = false;
      --end;
    }
    if (end - begin >= 2 && text[end - 1] == ASset[1]) {
      if (!inSet) {
        setReason(kMismatch);
        return parseMissingField;
      }
      inSet = false;
      --end;
    }
    unsigned long long as = 0;
    if (!readPathAS(text + begin, end - begin, as, width()) || !acceptAS(as)) {
      setQuotedReason(kBadAS, text + begin, end - begin);
      return parseBadValue;
    }
    item.AS = static_cast<ASNumber>(as);
    appendItem(item);
  }
  if (inPrivate || inSet) {
    setReason(kMismatch);
    return parseMissingField;
  }
  if (fillPathList_) storePath();
  return parseOk;
}

void BgpParser::appendItem(const ASItem& item) {
  if (pathLength_ == pathCapacity_) growPath();
  pathItems_[pathLength_++] = item;
}

void BgpParser::growPath() {
  const std::size_t capacity = pathCapacity_ == 0 ? 32 : 2 * pathCapacity_;
  std::unique_ptr<ASItem[]> grown(new ASItem[capacity]);
  for (std::size_t i = 0; i < pathLength_; ++i) grown[i] = pathItems_[i];
  pathItems_ = std::move(grown);
  pathCapacity_ = capacity;
}

// Routes next to each other in a table mostly share their path, and the list can only be
// refilled element by element, so it is rebuilt only when the path changed.
void BgpParser::storePath() {
  List<ASItem>& path = data.path;
  bool same = path.len() == pathLength_;
  if (same && pathLength_ > 0) {
    path.goToFirst();
    for (std::size_t i = 0; same; ++i) {
      const ASItem old = path.current();
      same = old.AS == pathItems_[i].AS && old.flags == pathItems_[i].flags;
      if (!path.next()) break;
    }
    path.goToFirst();
  }
  if (same) return;
  path.clear();  // keeps the elements for the new path
  for (std::size_t i = 0; i < pathLength_; ++i) path.enqueue(pathItems_[i]);
}

// Reading a table in parts --------------------------------------------------------------------

bool BgpParser::continueTable(const Columns& columns, unsigned long long begin,
                              unsigned long long end) {
  columnPos_ = columns;
  tableState_ = true;
  continuing_ = true;
  return readOnlyPart(begin, end);
}

bool BgpParser::nextNetworkLine(unsigned long long& at, IPPrefix& prefix) {
  const std::size_t column = columnPos_[networkCol];
  while (nextLine() == lineReady) {
    if (column == 0 || lineLength() < column || isBlank(line()[column - 1])) continue;
    std::size_t tokenLength = 0;
    if (parseNetwork(tokenLength) != parseOk || !prevNetwork_) continue;
    at = lineStart();
    prefix = prevNetmask_ ? IPPrefix(*prevNetwork_, *prevNetmask_) : IPPrefix(*prevNetwork_);
    return true;
  }
  return false;
}
