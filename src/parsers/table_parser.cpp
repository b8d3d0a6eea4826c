#include "parsers/table_parser.h"

#include <cstring>
#include <string_view>

#include "asgraph/as_number.h"

namespace {

const char kNoFile[] = "No file has been opened";
const char kBadNetwork[] = "Invalid network address: `";
const char kBadNextHop[] = "Invalid next hop: `";
const char kNoPrevious[] = "Could not retrieve any previous network value";
const char kNoWeight[] = "Could not tell the weight from the AS path";

const char kPagerPrompt[] = "--More--";
// Lines that end a listing: neighbour routes (IOS), FRR, IOS-XR.
constexpr std::string_view kListingEnds[] = {"Total number of prefixes", "Displayed ",
                                             "Processed "};
constexpr std::string_view kDistinguisher = "Route Distinguisher";

// Status codes stand in the columns up to two past the Network caption (the IOS-XE layout with
// a five-character status area prints the network one column right of its caption), and at
// least in the first four, whatever a header at the left margin says.
const std::size_t kStatusPastNetwork = 2;
const std::size_t kStatusColumns = 4;
// A network starts left of the Next Hop caption; a word within two columns of it is a next hop.
const std::size_t kNextHopSlack = 2;

bool startsWith(std::string_view text, std::string_view word) {
  return text.size() >= word.size() && text.compare(0, word.size(), word) == 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits filling the token into `value`, false when they exceed the type.
bool readUnsigned(const char* text, std::size_t length, unsigned long long& value) {
  const NumberRead read = readDigits(text, text + length, value);
  return read.status == NumberStatus::ok && read.ptr == text + length;
}

}  // namespace

TableParser::TableParser() = default;

TableParser::~TableParser() = default;

// Lines -------------------------------------------------------------------------------------

Parser::NextLineResult TableParser::nextLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return noFileOpen;
  }
  if (readLines() == 0) startInput();
  while (takeLine()) {
    switch (classify()) {
      case LineKind::blank:
        break;
      case LineKind::header:
        header_.record(line(), lineLength());
        vpn_ = false;
        break;
      case LineKind::distinguisher:
        vpn_ = true;
        previous_.reset();
        break;
      case LineKind::listingEnd:
        vpn_ = false;
        previous_.reset();
        break;
      case LineKind::other:
        previous_.reset();
        break;
      case LineKind::route:
        if (readRoute()) return lineReady;
        break;
    }
  }
  emptyLine();
  return noMoreLines;
}

void TableParser::startInput() {
  header_.forget();
  vpn_ = false;
  pushedBack_ = false;
  previous_.reset();
  stats_.clear();
  routeCode_ = parseOk;
  routeReason_.clear();
  paths_.setWidth(width());
}

// Makes the next line current: the one read ahead, else a new one. False at the end.
bool TableParser::takeLine() {
  if (pushedBack_) {
    pushedBack_ = false;
    return true;
  }
  if (streamDone() || !readRawLine()) return false;
  prepareLine();
  return true;
}

// Cuts the line end, and the pager prompt with the backspaces that erased it on the screen.
void TableParser::prepareLine() {
  char* text = mutableLine();
  std::size_t length = lineLength();
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
  truncateLine(length);
  const std::size_t prompt = std::string_view(text, length).find(kPagerPrompt);
  if (prompt == std::string_view::npos) return;
  const std::size_t after = prompt + sizeof kPagerPrompt - 1;
  std::size_t rest = after;
  bool erased = false;
  while (rest < length && (text[rest] == '\b' || text[rest] == '\r' || text[rest] == ' ')) {
    erased = erased || text[rest] != ' ';
    ++rest;
  }
  if (erased) {
    // The terminal went back over the prompt: the text after it starts at column 0.
    std::memmove(text, text + rest, length - rest);
    truncateLine(length - rest);
  } else {
    std::memset(text, ' ', after);
  }
}

TableParser::LineKind TableParser::classify() {
  const char* text = line();
  const std::size_t length = lineLength();
  const std::size_t start = skipTableBlanks(text, 0, length);
  if (start == length) return LineKind::blank;
  if (TableHeader::isHeader(text, length)) return LineKind::header;
  const std::string_view words(text + start, length - start);
  if (startsWith(words, kDistinguisher)) return LineKind::distinguisher;
  for (std::string_view end : kListingEnds) {
    if (startsWith(words, end)) return LineKind::listingEnd;
  }
  if (!header_.seen()) return LineKind::other;
  status_ = readTableStatus(text, length, lastStatusColumn(), header_.network());
  if (!status_.routeMayFollow) return LineKind::other;
  splitTableTokens(text, status_.end, length, tokens_);
  if (tokens_.empty()) return LineKind::other;
  const TableToken& first = tokens_[0];
  if (tokenIs(text, first, "-")) {
    return first.start + kNextHopSlack >= header_.nextHop() ? LineKind::route : LineKind::other;
  }
  return looksLikeNetwork(text + first.start, first.length()) ? LineKind::route : LineKind::other;
}

std::size_t TableParser::lastStatusColumn() const {
  const std::size_t past = header_.network() + kStatusPastNetwork;
  return past > kStatusColumns - 1 ? past : kStatusColumns - 1;
}

// Routes ------------------------------------------------------------------------------------

bool TableParser::readRoute() {
  draft_ = Draft();
  draft_.status = status_.bits;
  routeCode_ = parseOk;
  routeReason_.clear();
  recordCounted_ = false;
  readHead();
  while (draft_.needs != Needs::nothing) {
    if (!readContinuation()) {
      // The rest of a wrapped route never came; inside a VPN it would have been passed over.
      stats_.countSkipped(vpn_ ? vpnRoute : malformedRoute);
      return false;
    }
  }
  return conclude();
}

// The route's first line: status, network or not, then what follows on the line.
void TableParser::readHead() {
  const char* text = line();
  const TableToken& first = tokens_[0];
  bool isNetwork;
  if (tokenIs(text, first, "-")) {
    isNetwork = false;
  } else if (std::memchr(text + first.start, '/', first.length()) != nullptr ||
             text[first.start] == '[') {
    isNetwork = true;
  } else if (header_.collapsed()) {
    // No columns to go by: a network is followed by its next hop, a next hop by numbers.
    IPAddress scratch;
    isNetwork =
        tokens_.size() > 1 && readNextHop(text + tokens_[1].start, tokens_[1].length(), scratch);
  } else {
    isNetwork = first.start + kNextHopSlack < header_.nextHop();
  }
  std::size_t next = 0;
  if (isNetwork) {
    draft_.hasNetwork = true;
    draft_.network = readTableNetwork(text + first.start, first.length());
    if (draft_.network.kind == NetworkKind::invalid) {
      previous_.reset();
      reject(parseBadValue, kBadNetwork, text + first.start, first.length());
    } else {
      previous_ = draft_.network;
    }
    next = 1;
  }
  if (next == tokens_.size()) {
    draft_.needs = Needs::nextHop;
    return;
  }
  const TableToken& hop = tokens_[next];
  if (!readNextHop(text + hop.start, hop.length(), draft_.nextHop)) {
    reject(parseBadValue, kBadNextHop, text + hop.start, hop.length());
    return;
  }
  afterNextHop(next + 1, static_cast<long>(hop.start) - static_cast<long>(header_.nextHop()));
}

// The words after the next hop, from tokens_[next]: a From word when the header has one, then
// the numbers and the path, or a wait for the line that holds them.
void TableParser::afterNextHop(std::size_t next, long lineShift) {
  if (header_.hasFrom() && !draft_.fromSkipped && next < tokens_.size()) {
    draft_.fromSkipped = true;
    ++next;
  }
  if (next == tokens_.size()) {
    draft_.needs = Needs::rest;
    return;
  }
  draft_.needs = Needs::nothing;
  finish(next, lineShift);
}

// Reads the next line as the rest of a wrapped route. False, with the line kept for
// classify, when it is not one; false at the end of the input.
bool TableParser::readContinuation() {
  for (;;) {
    if (streamDone() || !readRawLine()) return false;
    prepareLine();
    const char* text = line();
    const std::size_t length = lineLength();
    const std::size_t start = skipTableBlanks(text, 0, length);
    if (start == length) continue;  // a blank line, or a pager prompt alone
    if (TableHeader::isHeader(text, length)) {
      header_.record(text, length);
      continue;
    }
    // The rest is indented past the status area and the network column.
    if (start <= lastStatusColumn()) break;
    splitTableTokens(text, start, length, tokens_);
    const TableToken& first = tokens_[0];
    if (draft_.needs == Needs::nextHop) {
      if (!readNextHop(text + first.start, first.length(), draft_.nextHop)) break;
      afterNextHop(1, static_cast<long>(first.start) - static_cast<long>(header_.nextHop()));
      return true;
    }
    const char c = text[first.start];
    const bool fromWord = header_.hasFrom() && !draft_.fromSkipped;
    if (!fromWord && !isDigit(c) && c != '-' && c != '{' && c != '(') break;
    // Numbers on a line of their own stand where the header puts them.
    afterNextHop(0, 0);
    return true;
  }
  pushedBack_ = true;
  return false;
}

// Splits the words from tokens_[first] into the numbers and the path.
void TableParser::finish(std::size_t first, long lineShift) {
  const TableFieldSplit split =
      splitTableFields(header_, line(), tokens_, first, lineShift, paths_);
  switch (split.outcome) {
    case TableFieldSplit::Outcome::found:
      fillFields(first, split);
      break;
    case TableFieldSplit::Outcome::pathMalformed:
      reject(parseBadValue, paths_.problem().c_str());
      break;
    case TableFieldSplit::Outcome::noSplit:
      reject(parseBadValue, kNoWeight);
      break;
  }
}

void TableParser::fillFields(std::size_t first, const TableFieldSplit& split) {
  data.metric.reset();
  data.localPref.reset();
  data.routeWeight.reset();
  const char* text = line();
  for (std::size_t i = 0; i < split.count; ++i) {
    const TableToken& token = tokens_[first + i];
    unsigned long long value = 0;
    if (tokenIs(text, token, "-") || !readUnsigned(text + token.start, token.length(), value)) {
      continue;
    }
    // The record keeps local preference and weight up to 65535, as the classic reader does;
    // a larger one is left out rather than cut.
    if (split.columns[i] == TableColumn::metric) {
      data.metric = value;
    } else if (value <= 65535) {
      (split.columns[i] == TableColumn::locPrf ? data.localPref : data.routeWeight) =
          static_cast<int>(value);
    }
  }
}

// Decides what becomes of the assembled route: passed over and counted, or delivered.
bool TableParser::conclude() {
  if (!draft_.hasNetwork) {
    if (previous_) {
      draft_.network = *previous_;
    } else if (!vpn_) {
      reject(parseMissingField, kNoPrevious);
    }
  }
  if (vpn_) {
    stats_.countSkipped(vpnRoute);
    return false;
  }
  // A route whose network is known to be of another family goes, however malformed the rest;
  // one whose network could not be read is delivered malformed in either run.
  const NetworkKind kind = draft_.network.kind;
  const NetworkKind wanted =
      family() == AddressFamily::ipv6 ? NetworkKind::ipv6 : NetworkKind::ipv4;
  if (kind != wanted && kind != NetworkKind::invalid) {
    stats_.countSkipped(kind == NetworkKind::other ? otherNetwork : otherFamilyReason(family()));
    return false;
  }
  if (routeCode_ != parseOk) {
    stats_.countSkipped(malformedRoute);
    return true;
  }
  if (paths_.result() == TablePathReader::Result::aboveLimit) {
    stats_.countSkipped(kAboveAS16Reason);
    return false;
  }
  data.family = family();
  if (kind == NetworkKind::ipv4) {
    data.network = draft_.network.address;
    data.networkMask = draft_.network.netmask;
  } else {
    data.network6 = draft_.network.prefix6;
  }
  data.nextHop = draft_.nextHop;
  data.status = draft_.status;
  data.origin = paths_.origin();
  storePath();
  return true;
}

// Routes next to each other mostly share their path, and the list can only be refilled item by
// item, so it is rebuilt only when the path changed.
void TableParser::storePath() {
  const std::vector<ASItem>& items = paths_.items();
  List<ASItem>& path = data.path;
  bool same = path.len() == items.size();
  if (same && !items.empty()) {
    path.goToFirst();
    for (std::size_t i = 0; same; ++i) {
      const ASItem old = path.current();
      same = old.AS == items[i].AS && old.flags == items[i].flags;
      if (!path.next()) break;
    }
    path.goToFirst();
  }
  if (same) return;
  while (!path.isEmpty()) path.pop();
  for (const ASItem& item : items) path.enqueue(item);
}

// Records the first problem of the route being read.
void TableParser::reject(ParseResult code, const char* text, const char* quoted,
                         std::size_t length) {
  if (routeCode_ != parseOk) return;
  routeCode_ = code;
  routeReason_.assign(text);
  if (quoted != nullptr) {
    routeReason_.append(quoted, length);
    routeReason_.push_back('\'');
  }
}

Parser::ParseResult TableParser::parseLine() {
  const ParseResult code = beginParse();
  if (code != parseOk) {
    // A NUL byte would cut off the rest of the line, so the route is refused: once counted.
    if (lineHasNul() && !recordCounted_) {
      stats_.countSkipped(nulLine);
      recordCounted_ = true;
    }
    return code;
  }
  if (routeCode_ != parseOk) {
    setReason(routeReason_.c_str());
    return routeCode_;
  }
  if (!recordCounted_) {
    ++parsedLines_;
    recordCounted_ = true;
  }
  return parseOk;
}
