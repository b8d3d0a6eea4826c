#include "parsers/mrt_parser.h"

#include <algorithm>

#include "asgraph/as_number.h"

namespace {

const char kNoFile[] = "No file has been opened";
const char kNotRib[] = "announcement, not a RIB entry";
const char kIPv6[] = "IPv6 network";
const char kInvalidAS[] = "invalid AS number";
const char kNotMrt[] = "not an MRT file";
const char kUnframed[] = "rest of the file not readable as MRT";
// What currentLine shows for a record, which has no line to quote.
const char kRecordText[] = "(MRT record)";

std::uint32_t maskOf(std::uint8_t length) {
  return length == 0 ? 0 : ~std::uint32_t(0) << (32 - length);
}

// The merge's order of a prefix: its network address, then the longer prefix first.
std::uint64_t orderKey(std::uint32_t address, std::uint8_t length) {
  return (std::uint64_t(address & maskOf(length)) << 6) | std::uint64_t(32 - length);
}

bool isRibIPv4(const MrtEntry& entry) {
  return entry.kind == MrtEntryKind::ribEntry && entry.family == MrtFamily::ipv4;
}

}  // namespace

mrtParser::mrtParser() = default;

mrtParser::~mrtParser() = default;

Parser::next_line_result mrtParser::nextLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return noFileOpen;
  }
  if (!started_) startReading();
  pendingRefusal_.clear();
  const Next next = routeMode_ ? readRoute() : readEntry();
  return next == Next::end ? noMoreLines : lineReady;
}

Parser::parse_result mrtParser::parseLine() {
  clearReason();
  if (!isOpen()) {
    setReason(kNoFile);
    return parseNoFile;
  }
  if (!pendingRefusal_.empty()) {
    setReason(pendingRefusal_.c_str());
    return parseBadValue;
  }
  return parseOk;
}

void mrtParser::startReading() {
  started_ = true;
  stats_.clear();
  if (routeMode_) {
    // Copied: reopening the input clears the parser's record of it.
    const std::string path = openedPath();
    sortWhole_ = path.empty() || !addressesAscend(path);
  }
  reader_ = std::make_unique<MrtReader>(input_, &stats_);
  reader_->setProblemListener(&problems_);
  // Every record has the same text to show for a line; set once, after any reopening.
  describeRecord(kRecordText);
}

// Reads the whole input once and reopens it: true when the IPv4 RIB entries come with their
// addresses ascending.
bool mrtParser::addressesAscend(const std::string& path) {
  bool ascending = true;
  {
    MrtReader scan(input_);
    MrtEntry seen;
    std::uint32_t last = 0;
    while (ascending && scan.next(seen) == MrtStatus::entry) {
      if (!isRibIPv4(seen)) continue;
      const std::uint32_t address = seen.prefixV4 & maskOf(seen.prefixLength);
      ascending = address >= last;
      last = address;
    }
  }
  closeFile();
  // A file that vanished in between reads as empty.
  if (!openFile(path.c_str())) return true;
  return ascending;
}

mrtParser::Next mrtParser::readEntry() {
  if (!problems_.queued.empty()) {
    // Counted by the reader already; delivered only to be reported.
    pendingRefusal_ = problems_.queued.front();
    problems_.queued.erase(problems_.queued.begin());
    return Next::refused;
  }
  if (entryHeld_) {
    entryHeld_ = false;
  } else {
    if (!endPending_.empty()) {
      pendingRefusal_.swap(endPending_);
      endPending_.clear();
      return Next::refused;
    }
    if (readerDone_) return Next::end;
    const MrtStatus status = reader_->next(entry);
    if (status != MrtStatus::entry) {
      // Damaged records met on the way to the end come first.
      if (endOfEntries(status) == Next::refused) endPending_.swap(pendingRefusal_);
      pendingRefusal_.clear();
      return readEntry();
    }
    countRecordRead();
    // Damaged records the reader passed over on the way come first, as in the file.
    if (!problems_.queued.empty()) {
      entryHeld_ = true;
      return readEntry();
    }
  }
  return refuseAS(entry.path) ? Next::refused : Next::entry;
}

mrtParser::Next mrtParser::endOfEntries(MrtStatus status) {
  readerDone_ = true;
  switch (status) {
    case MrtStatus::notMrt:
      refuse(std::string("Not an MRT file: ") + reader_->errReason(), kNotMrt);
      return Next::refused;
    case MrtStatus::stopped:
      refuse(std::string("MRT records cannot be read further: ") + reader_->errReason(),
             kUnframed);
      return Next::refused;
    case MrtStatus::end:
      // A last record cut short, which the reader counted.
      if (reader_->errReason()[0] == '\0') return Next::end;
      pendingRefusal_ = reader_->errReason();
      return Next::refused;
    default:
      return Next::end;  // a read error, which the input recorded
  }
}

mrtParser::Next mrtParser::readRoute() {
  for (;;) {
    if (!problems_.queued.empty()) {
      pendingRefusal_ = problems_.queued.front();
      problems_.queued.erase(problems_.queued.begin());
      return Next::refused;
    }
    if (nextHeld_ < held_.size()) return deliverHeld();
    if (!endPending_.empty()) {
      pendingRefusal_.swap(endPending_);
      endPending_.clear();
      return Next::refused;
    }
    if (readerDone_) return Next::end;
    fillHeld();
  }
}

// Holds the next group of IPv4 RIB entries in order: those of one network address, or when the
// file is read whole, all of them.
void mrtParser::fillHeld() {
  held_.clear();
  arena_.clear();
  nextHeld_ = 0;
  if (carried_) {
    holdEntry(carriedEntry_);
    carried_ = false;
  }
  for (;;) {
    const MrtStatus status = reader_->next(entry);
    if (status != MrtStatus::entry) {
      if (endOfEntries(status) == Next::refused) endPending_.swap(pendingRefusal_);
      pendingRefusal_.clear();
      break;
    }
    countRecordRead();
    if (!isRibIPv4(entry)) {
      stats_.countSkipped(entry.family == MrtFamily::ipv6 ? kIPv6 : kNotRib);
      continue;
    }
    const std::uint32_t address = entry.prefixV4 & maskOf(entry.prefixLength);
    if (!sortWhole_ && !held_.empty() && address != held_.front().address) {
      carriedEntry_ = entry;
      carried_ = true;
      break;
    }
    holdEntry(entry);
  }
  std::stable_sort(held_.begin(), held_.end(),
                   [](const Held& a, const Held& b) { return a.key < b.key; });
}

void mrtParser::holdEntry(const MrtEntry& route) {
  Held held;
  held.address = route.prefixV4 & maskOf(route.prefixLength);
  held.written = route.prefixV4;
  held.length = route.prefixLength;
  held.key = orderKey(route.prefixV4, route.prefixLength);
  held.pathStart = static_cast<std::uint32_t>(arena_.size());
  held.pathLength = static_cast<std::uint32_t>(route.path.size());
  arena_.insert(arena_.end(), route.path.begin(), route.path.end());
  held_.push_back(held);
}

mrtParser::Next mrtParser::deliverHeld() {
  const Held& held = held_[nextHeld_++];
  const ASNumber* path = arena_.data() + held.pathStart;
  path_.assign(path, path + held.pathLength);
  if (refuseAS(path_)) return Next::refused;
  const std::uint32_t a = held.written;
  data.network.setAddress(static_cast<unsigned char>(a >> 24), static_cast<unsigned char>(a >> 16),
                          static_cast<unsigned char>(a >> 8), static_cast<unsigned char>(a));
  // Every length, 0 too, is a real netmask here: an MRT prefix always says its length.
  data.networkMask = IPNetmask(static_cast<char>(held.length));
  data.path.clear();
  for (ASNumber as : path_) {
    ASItem item;
    item.AS = as;
    data.path.enqueue(item);
  }
  return Next::entry;
}

// An AS number the run does not accept refuses the record: above 65535 in a 16-bit run, or 0.
bool mrtParser::refuseAS(const std::vector<ASNumber>& path) {
  for (ASNumber as : path) {
    if (as != 0 && as <= width().largest()) continue;
    const std::string number = std::to_string(as);
    if (as == 0) {
      refuse("Invalid AS number: `0'", kInvalidAS);
    } else {
      refuse(std::string(kAboveAS16Reason) + ": `" + number + "'", kAboveAS16Reason);
    }
    return true;
  }
  return false;
}

void mrtParser::refuse(const std::string& reason, const char* countedUnder) {
  pendingRefusal_ = reason;
  stats_.countSkipped(countedUnder);
}
