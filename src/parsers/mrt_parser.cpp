#include "parsers/mrt_parser.h"

#include <sys/stat.h>

#include "asgraph/as_number.h"

namespace {

const char kNoFile[] = "No file has been opened";
const char kNotRib[] = "announcement, not a RIB entry";
const char kInvalidAS[] = "invalid AS number";
const char kNotMrt[] = "not an MRT file";
const char kUnframed[] = "rest of the file not readable as MRT";
// What currentLine shows for a record, which has no line to quote.
const char kRecordText[] = "(MRT record)";

// Why a run of `family` passes over the entry, or null when it takes it. An IPv4 run takes IPv4
// multicast as unicast, as it always has; no graph takes IPv6 multicast.
const char* familySkipReason(const MrtEntry& entry, AddressFamily family) {
  if (entry.family != family) return otherFamilyReason(family);
  if (family == AddressFamily::ipv6 && entry.multicast) return kMulticastRoute;
  return nullptr;
}

// Why the second pass passes over the entry, or null for a route it hands out.
const char* routeSkipReason(const MrtEntry& entry, AddressFamily family) {
  if (const char* reason = familySkipReason(entry, family)) return reason;
  return entry.kind == MrtEntryKind::ribEntry ? nullptr : kNotRib;
}

void prefixOf(const MrtEntry& entry, MrtIPv4Prefix& prefix) {
  prefix = MrtIPv4Prefix::of(entry.prefixV4, entry.prefixLength);
}

void prefixOf(const MrtEntry& entry, IPv6Prefix& prefix) {
  prefix = IPv6Prefix::fromBytes(entry.prefixV6, entry.prefixLength);
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
  const Next next = !routeMode_ ? readEntry()
                    : groups6_  ? readRoute(*groups6_)
                                : readRoute(*groups4_);
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
    bool byAddress = false;
    if (regular) {
      const AddressOrder::Kind known = knownOrder_.of(path);
      byAddress =
          known == AddressOrder::unknown ? addressesAscend(path) : known == AddressOrder::ascending;
    }
    if (family() == AddressFamily::ipv6) {
      groups6_ = std::make_unique<RouteGroups<IPv6Prefix>>(sortMemory_, byAddress);
    } else {
      groups4_ = std::make_unique<RouteGroups<MrtIPv4Prefix>>(sortMemory_, byAddress);
    }
  }
  if (!routeMode_) orderLearner_.start(openedPath());
  reader_ = std::make_unique<MrtReader>(input_, &stats_);
  reader_->setProblemListener(&problems_);
  // Every record has the same text to show for a line; set once, after any reopening.
  describeRecord(kRecordText);
}

// Reads the whole input once and reopens it: true when the RIB entries of the run's family come
// with their addresses ascending.
bool MrtParser::addressesAscend(const std::string& path) {
  bool ascending = true;
  {
    MrtReader scan(input_);
    ascending = family() == AddressFamily::ipv6 ? addressesAscendIn<IPv6Prefix>(scan)
                                                : addressesAscendIn<MrtIPv4Prefix>(scan);
  }
  closeFile();
  // A file that vanished in between reads as empty.
  if (!openFile(path.c_str())) return true;
  return ascending;
}

void MrtParser::learnOrder(const MrtEntry& seen) {
  if (routeSkipReason(seen, family()) != nullptr || !timeWindow().contains(seen.time)) return;
  orderLearner_.see(seen, family() == AddressFamily::ipv6,
                    [](const MrtEntry& entry, auto& prefix) { prefixOf(entry, prefix); });
}

AddressOrder MrtParser::addressOrderSeen() const { return orderLearner_.learnt(); }

template <class Prefix>
bool MrtParser::addressesAscendIn(MrtReader& scan) {
  MrtEntry seen;
  Prefix last, prefix;
  while (scan.next(seen) == MrtStatus::entry) {
    if (routeSkipReason(seen, family()) != nullptr || !timeWindow().contains(seen.time)) continue;
    prefixOf(seen, prefix);
    if (addressBelow(prefix, last)) return false;
    last = prefix;
  }
  return true;
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
      if (status != MrtStatus::readError) orderLearner_.ended();
      if (endOfEntries(status) == Next::refused) return Next::refused;
      continue;
    }
    learnOrder(entry);
    countRecordRead();
    const char* reason =
        timeWindow().contains(entry.time) ? familySkipReason(entry, family()) : kOutsideTimeWindow;
    if (reason == nullptr) break;
    stats_.countSkipped(reason);
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

template <class Prefix>
MrtParser::Next MrtParser::readRoute(RouteGroups<Prefix>& groups) {
  for (;;) {
    typename RouteGroups<Prefix>::Route route;
    if (groups.next(route)) {
      if (refuseAS(route.path, route.pathLength)) return Next::refused;
      setRoute(route, data);
      return Next::entry;
    }
    if (groups.failed()) return failSort(groups);
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
      if (!groups.finish()) return failSort(groups);
      continue;
    }
    countRecordRead();
    if (!timeWindow().contains(entry.time)) {
      stats_.countSkipped(kOutsideTimeWindow);
      continue;
    }
    if (const char* reason = routeSkipReason(entry, family())) {
      stats_.countSkipped(reason);
      continue;
    }
    Prefix prefix;
    prefixOf(entry, prefix);
    if (!groups.add(prefix, entry.path.data(), entry.path.size())) return failSort(groups);
  }
}

// Nothing more can be handed out: the reading fails, once.
template <class Prefix>
MrtParser::Next MrtParser::failSort(const RouteGroups<Prefix>& groups) {
  if (readError() == 0) failReading(groups.reason());
  readerDone_ = true;
  endPending_.clear();
  return Next::end;
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
