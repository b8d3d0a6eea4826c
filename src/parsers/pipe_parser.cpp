#include "parsers/pipe_parser.h"

#include <sys/stat.h>

#include <algorithm>

#include "asgraph/as_number.h"
#include "parsers/time_window.h"

namespace {

const char kNoFile[] = "No file has been opened";
const char kWithdrawal[] = "withdrawal";
const char kState[] = "state change";
const char kBlank[] = "blank or comment";
const char kNotRib[] = "announcement, not a RIB entry";
const char kNotRoute[] = "not a route line";
const char kBadPrefix[] = "invalid prefix";
const char kBadTime[] = "invalid time";
const char kInvalidAS[] = "Invalid AS number";
const char kNul[] = "Line contains a NUL byte";

bool isOrigin(std::string_view field) {
  return field == "IGP" || field == "EGP" || field == "INCOMPLETE";
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads digits [p, p + count) into `value`; false when one is not a digit.
bool readCount(std::string_view text, std::size_t at, std::size_t count, int& value) {
  value = 0;
  if (at + count > text.size()) return false;
  for (std::size_t k = at; k < at + count; ++k) {
    if (!isDigit(text[k])) return false;
    value = value * 10 + (text[k] - '0');
  }
  return true;
}

// The time field: UNIX seconds (a fraction, as stream readers print, is dropped) or the
// "MM/DD/YY HH:MM:SS" of the decoders' human-readable form, in UTC.
bool readLineTime(std::string_view text, std::int64_t& seconds) {
  if (text.size() == 17 && text[2] == '/' && text[5] == '/' && text[8] == ' ' && text[11] == ':' &&
      text[14] == ':') {
    int month, day, year, hour, minute, second;
    if (!readCount(text, 0, 2, month) || !readCount(text, 3, 2, day) ||
        !readCount(text, 6, 2, year) || !readCount(text, 9, 2, hour) ||
        !readCount(text, 12, 2, minute) || !readCount(text, 15, 2, second) || month < 1 ||
        month > 12 || day < 1 || day > 31) {
      return false;
    }
    // Two-digit years: 1970 to 2069, as the C library's %y.
    year += year < 70 ? 2000 : 1900;
    seconds = secondsOfUtc(year, month, day, hour, minute, second);
    return true;
  }
  const std::size_t dot = text.find('.');
  if (dot != std::string_view::npos) {
    for (std::size_t k = dot + 1; k < text.size(); ++k) {
      if (!isDigit(text[k])) return false;
    }
    text = text.substr(0, dot);
  }
  return readTimePoint(text.data(), text.data() + text.size(), seconds);
}

// "a.b.c.d/len": false unless exactly that, each octet 0-255 and len 0-32.
bool readPrefixV4(std::string_view text, std::uint32_t& address, std::uint8_t& length) {
  std::uint32_t value = 0;
  std::size_t at = 0;
  for (int octet = 0; octet < 4; ++octet) {
    int part = 0, digits = 0;
    while (at < text.size() && isDigit(text[at]) && digits < 4) {
      part = part * 10 + (text[at++] - '0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || part > 255) return false;
    value = (value << 8) | static_cast<std::uint32_t>(part);
    const char expected = octet < 3 ? '.' : '/';
    if (at >= text.size() || text[at++] != expected) return false;
  }
  int bits = 0;
  const std::size_t rest = text.size() - at;
  if (rest == 0 || rest > 2 || !readCount(text, at, rest, bits) || bits > 32) return false;
  address = value;
  length = static_cast<std::uint8_t>(bits);
  return true;
}

}  // namespace

void PipeParser::prefixOf(const Record& record, MrtIPv4Prefix& prefix) {
  prefix = MrtIPv4Prefix::of(record.address, record.length);
}

void PipeParser::prefixOf(const Record& record, IPv6Prefix& prefix) { prefix = record.prefix6; }

PipeParser::PipeParser() = default;

PipeParser::~PipeParser() = default;

Parser::NextLineResult PipeParser::nextLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return noFileOpen;
  }
  if (!started_) startReading();
  refusal_.clear();
  const Next next = !routeMode_ ? readEntry()
                    : groups6_  ? readSorted(*groups6_)
                                : readSorted(*groups4_);
  return next == Next::end ? noMoreLines : lineReady;
}

Parser::ParseResult PipeParser::parseLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return parseNoFile;
  }
  if (!refusal_.empty()) {
    setReason(refusal_.c_str());
    return parseBadValue;
  }
  return parseOk;
}

void PipeParser::startReading() {
  started_ = true;
  if (routeMode_) {
    const std::string opened = openedPath();
    struct stat status;
    // Only a regular file can be read again; a pipe opened twice would wait for a writer.
    const bool regular =
        !opened.empty() && stat(opened.c_str(), &status) == 0 && S_ISREG(status.st_mode);
    bool byAddress = false;
    if (regular) {
      const AddressOrder::Kind known = knownOrder_.of(opened);
      byAddress = known == AddressOrder::unknown ? addressesAscend(opened)
                                                 : known == AddressOrder::ascending;
    }
    if (family() == AddressFamily::ipv6) {
      groups6_ = std::make_unique<RouteGroups<IPv6Prefix>>(sortMemory_, byAddress);
    } else {
      groups4_ = std::make_unique<RouteGroups<MrtIPv4Prefix>>(sortMemory_, byAddress);
    }
  }
  if (!routeMode_) orderLearner_.start(openedPath());
  stats_.clear();
}

// Reads the whole input once and reopens it: true when the RIB entries of the run's family come
// with their addresses ascending.
bool PipeParser::addressesAscend(const std::string& opened) {
  const bool ascending = family() == AddressFamily::ipv6 ? addressesAscendIn<IPv6Prefix>()
                                                         : addressesAscendIn<MrtIPv4Prefix>();
  closeFile();
  // A file that vanished in between reads as empty.
  if (!openFile(opened.c_str())) return true;
  return ascending;
}

void PipeParser::learnOrder() {
  // The merge takes RIB entries only.
  if (!record_.rib) return;
  orderLearner_.see(record_, family() == AddressFamily::ipv6,
                    [](const Record& record, auto& prefix) { prefixOf(record, prefix); });
}

template <class Prefix>
bool PipeParser::addressesAscendIn() {
  Prefix last, prefix;
  for (Line line; (line = readLine()) != Line::end;) {
    if (line != Line::route) continue;
    prefixOf(record_, prefix);
    if (addressBelow(prefix, last)) return false;
    last = prefix;
  }
  return true;
}

PipeParser::Line PipeParser::readLine() {
  if (readLineLongerThan(0) != lineReady) return Line::end;
  if (lineHasNul()) return refuse(kNul, kNul);
  const std::string_view text(line(), lineLength());
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos || text[first] == '#') return skip(kBlank);
  fields_.clear();
  for (std::size_t at = 0;;) {
    const std::size_t bar = text.find('|', at);
    fields_.push_back(text.substr(at, bar == std::string_view::npos ? bar : bar - at));
    if (bar == std::string_view::npos) break;
    at = bar + 1;
  }
  return classify(fields_);
}

PipeParser::Line PipeParser::classify(const std::vector<std::string_view>& f) {
  const std::size_t n = f.size();
  // A stream reader's element: one-letter dump and element types.
  if (n >= 3 && (f[0] == "R" || f[0] == "U") && f[1].size() == 1) {
    const char kind = f[1][0];
    if (kind == 'W') return skip(kWithdrawal);
    if (kind == 'S') return skip(kState);
    if (kind == 'R' || kind == 'A') {
      // With the router fields the prefix is the tenth field, without them the eighth.
      if (n > 11 && f[9].find('/') != std::string_view::npos) {
        return readRoute(kind == 'R', f[2], f[9], f[11]);
      }
      if (n > 9 && f[7].find('/') != std::string_view::npos) {
        return readRoute(kind == 'R', f[2], f[7], f[9]);
      }
    }
    return refuse("Not a route line", kNotRoute);
  }
  // A decoder's line, with its record type first or without it.
  const std::size_t b = !f[0].empty() && isDigit(f[0][0]) ? 0 : 1;
  if (n < b + 2) return refuse("Not a route line", kNotRoute);
  const std::string_view kind = f[b + 1];
  if (kind == "W") return skip(kWithdrawal);
  if (kind == "STATE") return skip(kState);
  if ((kind != "B" && kind != "A") || n < b + 6) return refuse("Not a route line", kNotRoute);
  const std::string_view type = f[0];
  bool addPath = b == 1 && type.size() > 3 && type.substr(type.size() - 3) == "_AP";
  if (b == 0) addPath = n > 7 && !isOrigin(f[6]) && isOrigin(f[7]);
  if (addPath && n < b + 7) return refuse("Not a route line", kNotRoute);
  return readRoute(kind == "B", f[b], f[b + 4], f[b + (addPath ? 6 : 5)]);
}

PipeParser::Line PipeParser::readRoute(bool rib, std::string_view time, std::string_view prefix,
                                       std::string_view asPath) {
  if (timeWindow().limited) {
    std::int64_t seconds = 0;
    if (!readLineTime(time, seconds)) {
      return refuse("Invalid time: `" + std::string(time) + "'", kBadTime);
    }
    if (!timeWindow().contains(seconds)) return skip(kOutsideTimeWindow);
  }
  record_ = Record();
  record_.rib = rib;
  record_.ipv6 = prefix.find(':') != std::string_view::npos;
  const bool ipv6Run = family() == AddressFamily::ipv6;
  // An IPv4 run only needs to know an IPv6 prefix for one, to pass it over.
  const bool valid = !record_.ipv6 ? readPrefixV4(prefix, record_.address, record_.length)
                     : ipv6Run     ? parseIPv6Prefix(prefix, record_.prefix6)
                                   : prefix.find('/') != std::string_view::npos;
  if (!valid) return refuse("Invalid prefix: `" + std::string(prefix) + "'", kBadPrefix);
  if (routeMode_ && !rib) return skip(kNotRib);
  if (record_.ipv6 != ipv6Run) return skip(otherFamilyReason(family()));
  return readPath(asPath);
}

// The AS sequence of the path; the members of sets and confederation segments are left out.
PipeParser::Line PipeParser::readPath(std::string_view text) {
  path.clear();
  char closing = 0;  // the bracket that ends the segment being left out
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
    const std::string_view token = text.substr(at, end - at);
    at = end + 1;
    if (token.empty()) continue;
    if (closing == 0) {
      const char open = token[0];
      closing = open == '{' ? '}' : open == '(' ? ')' : open == '[' ? ']' : 0;
    }
    if (closing != 0) {
      if (token.back() == closing) closing = 0;
      continue;
    }
    ASNumber as = 0;
    switch (readASToken(token.data(), token.size(), as, width())) {
      case ASRead::ok:
        path.push_back(as);
        break;
      case ASRead::aboveLimit:
        return refuse(std::string(kAboveAS16Reason) + ": `" + std::string(token) + "'",
                      kAboveAS16Reason);
      case ASRead::invalid:
        return refuse(std::string(kInvalidAS) + ": `" + std::string(token) + "'", kInvalidAS);
    }
  }
  return Line::route;
}

PipeParser::Line PipeParser::skip(const char* reason) {
  stats_.countSkipped(reason);
  return Line::skipped;
}

PipeParser::Line PipeParser::refuse(const std::string& reason, const char* countedUnder) {
  refusal_ = reason;
  stats_.countSkipped(countedUnder);
  return Line::refused;
}

PipeParser::Next PipeParser::readEntry() {
  for (;;) {
    switch (readLine()) {
      case Line::route:
        learnOrder();
        return Next::entry;
      case Line::refused:
        return Next::refused;
      case Line::end:
        if (readError() == 0) orderLearner_.ended();
        return Next::end;
      case Line::skipped:
        break;
    }
  }
}

template <class Prefix>
PipeParser::Next PipeParser::readSorted(RouteGroups<Prefix>& groups) {
  for (;;) {
    typename RouteGroups<Prefix>::Route route;
    if (groups.next(route)) {
      setRoute(route, data);
      return Next::entry;
    }
    if (groups.failed()) {
      // Nothing more can be handed out: the reading fails, once.
      if (readError() == 0) failReading(groups.reason());
      inputDone_ = true;
      return Next::end;
    }
    if (inputDone_) return Next::end;
    const Line line = readLine();
    if (line == Line::refused) return Next::refused;
    if (line == Line::skipped) continue;
    if (line == Line::end) {
      inputDone_ = true;
      if (readError() != 0) return Next::end;
      groups.finish();
      continue;
    }
    Prefix prefix;
    prefixOf(record_, prefix);
    groups.add(prefix, path.data(), path.size());
  }
}
