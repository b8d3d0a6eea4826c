#include "parsers/mrt_parser.h"

#include <sys/stat.h>

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

bool isRibIPv4(const MrtEntry& entry) {
  return entry.kind == MrtEntryKind::ribEntry && entry.family == MrtFamily::ipv4;
}

}  // namespace

MrtParser::MrtParser() = default;

MrtParser::~MrtParser() = default;

Parser::NextLineResult MrtParser::nextLine() {
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

Parser::ParseResult MrtParser::parseLine() {
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

unsigned long long MrtParser::unitsRead() const {
  const unsigned long long passedOver = reader_ ? reader_->skippedCount() : 0;
  return readLines() + passedOver + endRefusals_;
}

void MrtParser::startReading() {
  started_ = true;
  stats_.clear();
  endRefusals_ = 0;
  if (routeMode_) {
    // Copied: reopening the input clears the parser's record of it.
    const std::string path = openedPath();
    struct stat status;
    // Only a regular file can be read again; a pipe opened twice would wait for a writer.
    const bool regular =
        !path.empty() && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
    groups_ = regular && addressesAscend(path);
    sort_ = std::make_unique<MrtRouteSort>(sortMemory_);
  }
  reader_ = std::make_unique<MrtReader>(input_, &stats_);
  reader_->setProblemListener(&problems_);
  // Every record has the same text to show for a line; set once, after any reopening.
  describeRecord(kRecordText);
}

// Reads the whole input once and reopens it: true when the IPv4 RIB entries come with their
// addresses ascending.
bool MrtParser::addressesAscend(const std::string& path) {
  bool ascending = true;
  {
    MrtReader scan(input_);
    MrtEntry seen;
    std::uint32_t last = 0;
    while (ascending && scan.next(seen) == MrtStatus::entry) {
      if (!isRibIPv4(seen) || !timeWindow().contains(seen.time)) continue;
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

MrtParser::Next MrtParser::readEntry() {
  if (!endPending_.empty()) {
    pendingRefusal_.swap(endPending_);
    endPending_.clear();
    return Next::refused;
  }
  // A loop: a time window may pass over millions of entries in a row.
  for (;;) {
    if (readerDone_) return Next::end;
    const MrtStatus status = reader_->next(entry);
    if (status == MrtStatus::damaged) {
      // Counted by the reader already; delivered only to be reported.
      pendingRefusal_ = problems_.last;
      return Next::refused;
    }
    if (status != MrtStatus::entry) {
      if (endOfEntries(status) == Next::refused) return Next::refused;
      continue;
    }
    countRecordRead();
    if (timeWindow().contains(entry.time)) break;
    stats_.countSkipped(kOutsideTimeWindow);
  }
  return refuseAS(entry.path.data(), entry.path.size()) ? Next::refused : Next::entry;
}

MrtParser::Next MrtParser::endOfEntries(MrtStatus status) {
  readerDone_ = true;
  if (status == MrtStatus::notMrt || status == MrtStatus::stopped) ++endRefusals_;
  switch (status) {
    case MrtStatus::notMrt:
      refuse(std::string("Not an MRT file: ") + reader_->errReason(), kNotMrt);
      return Next::refused;
    case MrtStatus::stopped:
      refuse(std::string("MRT records cannot be read further: ") + reader_->errReason(), kUnframed);
      return Next::refused;
    case MrtStatus::end:
      // A file cut inside a record is unusable as a whole, as a cut compressed file is: the
      // reading fails, naming where.
      if (reader_->errReason()[0] != '\0') {
        failReading((std::string("MRT ") + reader_->errReason()).c_str());
      }
      return Next::end;
    default:
      return Next::end;  // a read error, which the input recorded
  }
}

MrtParser::Next MrtParser::readRoute() {
  MrtRouteSort& sort = *sort_;
  for (;;) {
    if (delivering_) {
      MrtRouteSort::Route route;
      if (sort.next(route)) return deliver(route);
      if (sort.failed()) {
        failReading(sort.reason());
        readerDone_ = true;
        endPending_.clear();
        return Next::end;
      }
      delivering_ = false;
      sort.clear();
      if (carried_) {
        carried_ = false;
        groupAddress_ = carriedEntry_.prefixV4 & maskOf(carriedEntry_.prefixLength);
        const std::vector<ASNumber>& path = carriedEntry_.path;
        if (!sort.add(carriedEntry_.prefixV4, carriedEntry_.prefixLength, path.data(),
                      path.size())) {
          failReading(sort.reason());
          readerDone_ = true;
          return Next::end;
        }
      }
    }
    if (!endPending_.empty()) {
      pendingRefusal_.swap(endPending_);
      endPending_.clear();
      return Next::refused;
    }
    if (readerDone_) return Next::end;
    const MrtStatus status = reader_->next(entry);
    if (status == MrtStatus::damaged) {
      // Reported as met, ahead of the group being held, as the file has them.
      pendingRefusal_ = problems_.last;
      return Next::refused;
    }
    if (status != MrtStatus::entry) {
      if (endOfEntries(status) == Next::refused) endPending_.swap(pendingRefusal_);
      pendingRefusal_.clear();
      if (readError() != 0) return Next::end;
      closeGroup();
      continue;
    }
    countRecordRead();
    if (!timeWindow().contains(entry.time)) {
      stats_.countSkipped(kOutsideTimeWindow);
      continue;
    }
    if (!isRibIPv4(entry)) {
      stats_.countSkipped(entry.family == MrtFamily::ipv6 ? kIPv6 : kNotRib);
      continue;
    }
    const std::uint32_t address = entry.prefixV4 & maskOf(entry.prefixLength);
    if (groups_ && !sort.empty() && address != groupAddress_) {
      carriedEntry_ = entry;
      carried_ = true;
      closeGroup();
      continue;
    }
    groupAddress_ = address;
    if (!sort.add(entry.prefixV4, entry.prefixLength, entry.path.data(), entry.path.size())) {
      failReading(sort.reason());
      readerDone_ = true;
      return Next::end;
    }
  }
}

void MrtParser::closeGroup() {
  delivering_ = true;
  if (sort_->finish()) return;
  // Nothing of the group can be handed out: the reading fails.
  failReading(sort_->reason());
  readerDone_ = true;
  carried_ = false;
  endPending_.clear();
  delivering_ = false;
}

MrtParser::Next MrtParser::deliver(const MrtRouteSort::Route& route) {
  if (refuseAS(route.path, route.pathLength)) return Next::refused;
  const std::uint32_t a = route.address;
  data.network.setAddress(static_cast<unsigned char>(a >> 24), static_cast<unsigned char>(a >> 16),
                          static_cast<unsigned char>(a >> 8), static_cast<unsigned char>(a));
  // Every length, 0 too, is a real netmask here: an MRT prefix always says its length.
  data.networkMask = IPNetmask(static_cast<char>(route.length));
  data.path.clear();
  for (std::uint32_t k = 0; k < route.pathLength; ++k) {
    ASItem item;
    item.AS = route.path[k];
    data.path.enqueue(item);
  }
  return Next::entry;
}

// An AS number the run does not accept refuses the record: above 65535 in a 16-bit run, or 0.
bool MrtParser::refuseAS(const ASNumber* path, std::size_t length) {
  for (std::size_t k = 0; k < length; ++k) {
    const ASNumber as = path[k];
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

void MrtParser::refuse(const std::string& reason, const char* countedUnder) {
  pendingRefusal_ = reason;
  stats_.countSkipped(countedUnder);
}
