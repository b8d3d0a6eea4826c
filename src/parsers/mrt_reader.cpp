#include "parsers/mrt_reader.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "parsers/as_path_decoder.h"
#include "parsers/bgp_attributes.h"
#include "parsers/mrt_types.h"

namespace {

const char* const kDamaged = "damaged record";

// Skip reasons are literals, since the statistics keep the pointers.
const char* unknownTypeReason(std::uint16_t type) {
  switch (type) {
    case 0:
      return "unknown MRT type 0";
    case 1:
      return "unknown MRT type 1";
    case 2:
      return "unknown MRT type 2";
    case 3:
      return "unknown MRT type 3";
    case 4:
      return "unknown MRT type 4";
    case 6:
      return "unknown MRT type 6";
    case 7:
      return "unknown MRT type 7";
    case 8:
      return "unknown MRT type 8";
    case 9:
      return "unknown MRT type 9";
    case 10:
      return "unknown MRT type 10";
    case 11:
      return "unknown MRT type 11";
    case 32:
      return "unknown MRT type 32";
    case 33:
      return "unknown MRT type 33";
    case 48:
      return "unknown MRT type 48";
    case 49:
      return "unknown MRT type 49";
    default:
      return "unknown MRT type";
  }
}

// The BGP4MP subtypes that carry a BGP message, by subtype.
struct MessageForm {
  bool known;
  bool as4;      // AS numbers 4 bytes wide
  bool local;    // sent by the collector, not received
  bool addPath;  // prefixes carry path identifiers
};
const MessageForm kMessageForms[] = {
    {false, false, false, false},  // 0 STATE_CHANGE
    {true, false, false, false},   // 1 MESSAGE
    {false, false, false, false},  // 2 ENTRY, deprecated
    {false, false, false, false},  // 3 SNAPSHOT, deprecated
    {true, true, false, false},    // 4 MESSAGE_AS4
    {false, false, false, false},  // 5 STATE_CHANGE_AS4
    {true, false, true, false},    // 6 MESSAGE_LOCAL
    {true, true, true, false},     // 7 MESSAGE_AS4_LOCAL
    {true, false, false, true},    // 8 MESSAGE_ADDPATH
    {true, true, false, true},     // 9 MESSAGE_AS4_ADDPATH
    {true, false, true, true},     // 10 MESSAGE_LOCAL_ADDPATH
    {true, true, true, true},      // 11 MESSAGE_AS4_LOCAL_ADDPATH
};

bool takeAddress(ByteCursor& cursor, MrtFamily family) {
  return cursor.skip(family == MrtFamily::ipv4 ? 4 : 16);
}

}  // namespace

MrtReader::MrtReader(ByteSource& source, ReadStats* stats) : stream_(source), stats_(stats) {}

MrtStatus MrtReader::next(MrtEntry& entry) {
  for (;;) {
    if (pending_ != Pending::none) {
      if (produce(entry)) return MrtStatus::entry;
      // A damaged entry leaves the rest of its record pending.
      if (!reportReady_) pending_ = Pending::none;
    }
    if (reportReady_) {
      reportReady_ = false;
      return MrtStatus::damaged;
    }
    MrtRecord record;
    switch (stream_.next(record)) {
      case MrtStep::record:
        startRecord(record);
        break;
      case MrtStep::end:
        return MrtStatus::end;
      case MrtStep::truncated:
        ++damaged_;
        ++skipped_;
        if (stats_ != nullptr) stats_->countSkipped("truncated record");
        if (listener_ != nullptr) listener_->skippedDamaged(stream_.errReason());
        return MrtStatus::end;
      case MrtStep::notMrt:
        return MrtStatus::notMrt;
      case MrtStep::lostFraming:
        ++damaged_;
        ++skipped_;
        if (stats_ != nullptr) stats_->countSkipped(kDamaged);
        if (listener_ != nullptr) listener_->skippedDamaged(stream_.errReason());
        return MrtStatus::stopped;
      case MrtStep::readError:
        return MrtStatus::readError;
    }
  }
}

void MrtReader::skip(const char* reason) {
  ++skipped_;
  if (stats_ != nullptr) stats_->countSkipped(reason);
  pending_ = Pending::none;
}

void MrtReader::damaged(bool wholeRecord, const char* format, ...) {
  ++damaged_;
  ++skipped_;
  if (stats_ != nullptr) stats_->countSkipped(kDamaged);
  if (wholeRecord) pending_ = Pending::none;
  if (listener_ == nullptr) return;
  reportReady_ = true;
  char text[256];
  const int prefix = std::snprintf(
      text, sizeof text, "record at byte %llu: ", static_cast<unsigned long long>(recordOffset_));
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(text + prefix, sizeof text - static_cast<std::size_t>(prefix), format, args);
  va_end(args);
  listener_->skippedDamaged(text);
}

void MrtReader::startRecord(const MrtRecord& record) {
  recordOffset_ = record.offset;
  recordTime_ = record.time;
  pending_ = Pending::none;
  ByteCursor body = record.body;
  const std::uint16_t subtype = record.subtype;
  switch (record.type) {
    case mrt::kTableDump:
      if (subtype != mrt::kTableDumpIPv4 && subtype != mrt::kTableDumpIPv6)
        return skip("unknown TABLE_DUMP subtype");
      if (record.lengthCorrected) ++repaired_;
      return startTableDump(body,
                            subtype == mrt::kTableDumpIPv4 ? MrtFamily::ipv4 : MrtFamily::ipv6,
                            record.lengthCorrected);
    case mrt::kTableDumpV2:
      if (subtype == mrt::kPeerIndexTable) return readPeerIndexTable(body);
      if (subtype == mrt::kRibGeneric || subtype == mrt::kRibGenericAddPath)
        return skip("RIB_GENERIC");
      if ((subtype >= mrt::kRibIPv4Unicast && subtype <= mrt::kRibIPv6Multicast) ||
          (subtype >= mrt::kRibIPv4UnicastAddPath && subtype <= mrt::kRibIPv6MulticastAddPath)) {
        const bool addPath = subtype >= mrt::kRibIPv4UnicastAddPath;
        const std::uint16_t plain = addPath ? subtype - 6 : subtype;
        return startRib(body, plain <= mrt::kRibIPv4Multicast ? MrtFamily::ipv4 : MrtFamily::ipv6,
                        plain == mrt::kRibIPv4Multicast || plain == mrt::kRibIPv6Multicast,
                        addPath);
      }
      return skip("unknown TABLE_DUMP_V2 subtype");
    case mrt::kBgp4mpEt:
      // The microsecond field is counted in the length; the record stream checked it is there.
      body.skip(4);
      [[fallthrough]];
    case mrt::kBgp4mp:
      if (subtype == mrt::kStateChange || subtype == mrt::kStateChangeAS4)
        return skip("BGP4MP state change");
      if (subtype < sizeof kMessageForms / sizeof kMessageForms[0] &&
          kMessageForms[subtype].known) {
        const MessageForm& form = kMessageForms[subtype];
        return startBgp4mpMessage(body, form.as4, form.local, form.addPath);
      }
      return skip("unknown BGP4MP subtype");
    case mrt::kBgp:
      if (subtype == mrt::kBgpUpdate) return startLegacyUpdate(body);
      if (subtype == mrt::kBgpStateChange) return skip("BGP state change");
      return skip("not an UPDATE");
    default:
      return skip(unknownTypeReason(record.type));
  }
}

// A table cut short keeps the peers read before the cut; RIB entries naming later peers are
// then reported one by one.
void MrtReader::readPeerIndexTable(ByteCursor body) {
  peerAS_.clear();
  std::uint16_t viewNameLength = 0, peerCount = 0;
  if (!body.skip(4) || !body.takeU16(viewNameLength) || !body.skip(viewNameLength) ||
      !body.takeU16(peerCount))
    return damaged(true, "PEER_INDEX_TABLE header cut short");
  for (unsigned i = 0; i < peerCount; ++i) {
    std::uint8_t peerType = 0;
    ASNumber as = 0;
    if (!body.takeU8(peerType) || !body.skip(4) ||
        !takeAddress(body, (peerType & 1) ? MrtFamily::ipv6 : MrtFamily::ipv4))
      return damaged(true, "PEER_INDEX_TABLE cut short at peer %u of %u", i, peerCount);
    if (peerType & 2) {
      if (!body.takeU32(as))
        return damaged(true, "PEER_INDEX_TABLE cut short at peer %u of %u", i, peerCount);
    } else {
      std::uint16_t narrow = 0;
      if (!body.takeU16(narrow))
        return damaged(true, "PEER_INDEX_TABLE cut short at peer %u of %u", i, peerCount);
      as = narrow;
    }
    peerAS_.push_back(as);
  }
}

void MrtReader::startRib(ByteCursor body, MrtFamily family, bool multicast, bool addPath) {
  std::uint16_t count = 0;
  if (!body.skip(4)) return damaged(true, "RIB header cut short");
  if (const char* problem = takePrefix(body, family, false, shared_))
    return damaged(true, "%s", problem);
  if (!body.takeU16(count)) return damaged(true, "RIB header cut short");
  pending_ = Pending::ribEntries;
  rest_ = body;
  family_ = family;
  multicast_ = multicast;
  addPath_ = addPath;
  entriesLeft_ = count;
  entryNumber_ = 0;
}

bool MrtReader::produceRibEntry(MrtEntry& entry) {
  while (entriesLeft_ > 0) {
    --entriesLeft_;
    ++entryNumber_;
    std::uint16_t peerIndex = 0, attributeLength = 0;
    ByteCursor attributes;
    if (!rest_.takeU16(peerIndex) || !rest_.skip(addPath_ ? 8 : 4) ||
        !rest_.takeU16(attributeLength) || !rest_.takeBytes(attributeLength, attributes)) {
      damaged(true, "RIB entry %u cut short", entryNumber_);
      return false;
    }
    if (peerIndex >= peerAS_.size()) {
      damaged(false, "RIB entry %u: peer index %u not in the PEER_INDEX_TABLE (%zu peers)",
              entryNumber_, peerIndex, peerAS_.size());
      if (reportReady_) return false;
      continue;
    }
    BgpAttributes found;
    const char* problem = findBgpAttributes(attributes, found);
    if (problem == nullptr && found.hasASPath)
      problem = decodeASPath(found.asPath, 4, nullptr, entry);
    if (problem != nullptr) {
      damaged(false, "RIB entry %u: %s", entryNumber_, problem);
      if (reportReady_) return false;
      continue;
    }
    fillRibEntry(entry, found.hasASPath, shared_.prefixLength, peerAS_[peerIndex]);
    entry.prefixV4 = shared_.prefixV4;
    std::memcpy(entry.prefixV6, shared_.prefixV6, sizeof entry.prefixV6);
    return true;
  }
  if (!rest_.empty()) damaged(true, "%zu bytes after the last RIB entry", rest_.remaining());
  return false;
}

void MrtReader::fillRibEntry(MrtEntry& entry, bool hasASPath, std::uint8_t prefixLength,
                             ASNumber peerAS) const {
  // An entry without an AS_PATH has an empty path, not the last entry's.
  if (!hasASPath) {
    entry.path.clear();
    entry.pathHasWideAS = entry.droppedSegments = false;
  }
  entry.kind = MrtEntryKind::ribEntry;
  entry.family = family_;
  entry.multicast = multicast_;
  entry.prefixLength = prefixLength;
  entry.peerAS = peerAS;
}

void MrtReader::startTableDump(ByteCursor body, MrtFamily family, bool batched) {
  if (!body.skip(4)) return damaged(true, "TABLE_DUMP entry cut short");
  pending_ = Pending::tableDumpEntries;
  rest_ = body;
  family_ = family;
  multicast_ = false;
  batched_ = batched;
  entryNumber_ = 0;
}

bool MrtReader::produceTableDumpEntry(MrtEntry& entry) {
  while (!rest_.empty()) {
    if (entryNumber_ > 0 && !batched_) {
      damaged(true, "%zu bytes after the TABLE_DUMP entry", rest_.remaining());
      return false;
    }
    ++entryNumber_;
    const std::size_t addressSize = family_ == MrtFamily::ipv4 ? 4 : 16;
    std::uint8_t address[16] = {};
    std::uint8_t length = 0;
    std::uint16_t peerAS = 0, attributeLength = 0;
    ByteCursor attributes;
    if (!rest_.copyBytes(addressSize, address) || !rest_.takeU8(length) || !rest_.skip(5) ||
        !takeAddress(rest_, family_) || !rest_.takeU16(peerAS) || !rest_.takeU16(attributeLength) ||
        !rest_.takeBytes(attributeLength, attributes)) {
      damaged(true, "TABLE_DUMP entry %u cut short", entryNumber_);
      return false;
    }
    if (length > addressSize * 8) {
      damaged(true, "TABLE_DUMP entry %u: prefix length %u out of range", entryNumber_, length);
      return false;
    }
    BgpAttributes found;
    const char* problem = findBgpAttributes(attributes, found);
    if (problem == nullptr && found.hasASPath)
      problem = decodeASPath(found.asPath, 2, found.hasAS4Path ? &found.as4Path : nullptr, entry);
    if (problem != nullptr) {
      // The entry's own length framed its attributes, so the entries after it are still sound.
      damaged(false, "TABLE_DUMP entry %u: %s", entryNumber_, problem);
      if (reportReady_) return false;
      continue;
    }
    fillRibEntry(entry, found.hasASPath, length, peerAS);
    if (family_ == MrtFamily::ipv4) {
      entry.prefixV4 = (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) |
                       (std::uint32_t{address[2]} << 8) | std::uint32_t{address[3]};
    } else {
      std::memcpy(entry.prefixV6, address, sizeof address);
    }
    return true;
  }
  return false;
}

void MrtReader::startBgp4mpMessage(ByteCursor body, bool as4, bool local, bool addPath) {
  ASNumber peerAS = 0, localAS = 0;
  std::uint16_t afi = 0;
  if (as4) {
    if (!body.takeU32(peerAS) || !body.takeU32(localAS))
      return damaged(true, "BGP4MP header cut short");
  } else {
    std::uint16_t peer16 = 0, local16 = 0;
    if (!body.takeU16(peer16) || !body.takeU16(local16))
      return damaged(true, "BGP4MP header cut short");
    peerAS = peer16;
    localAS = local16;
  }
  if (!body.skip(2) || !body.takeU16(afi)) return damaged(true, "BGP4MP header cut short");
  if (afi != 1 && afi != 2) return damaged(true, "BGP4MP address family %u unknown", afi);
  if (!body.skip(afi == 1 ? 8 : 32)) return damaged(true, "BGP4MP header cut short");
  std::uint16_t length = 0;
  std::uint8_t type = 0;
  if (!body.skip(16) || !body.takeU16(length) || !body.takeU8(type))
    return damaged(true, "BGP message header cut short");
  ByteCursor message;
  if (length < 19 || !body.takeBytes(length - 19u, message))
    return damaged(true, "BGP message length %u does not fit its record", length);
  if (type != mrt::kBgpMessageUpdate) return skip("not an UPDATE");
  startUpdate(message, as4 ? 4 : 2, addPath, local ? localAS : peerAS);
}

void MrtReader::startLegacyUpdate(ByteCursor body) {
  std::uint16_t peerAS = 0;
  if (!body.takeU16(peerAS) || !body.skip(10)) return damaged(true, "BGP UPDATE header cut short");
  startUpdate(body, 2, false, peerAS);
}

void MrtReader::startUpdate(ByteCursor update, int asBytes, bool addPath, ASNumber sender) {
  std::uint16_t withdrawnLength = 0, attributeLength = 0;
  ByteCursor attributes;
  if (!update.takeU16(withdrawnLength) || !update.skip(withdrawnLength))
    return damaged(true, "UPDATE withdrawn routes longer than the message");
  if (!update.takeU16(attributeLength) || !update.takeBytes(attributeLength, attributes))
    return damaged(true, "UPDATE attributes longer than the message");
  BgpAttributes found;
  if (const char* problem = findBgpAttributes(attributes, found))
    return damaged(true, "%s", problem);
  mpNlri_ = ByteCursor();
  if (found.hasMPReach) {
    bool usable = false;
    ByteCursor nlri;
    if (const char* problem = openMPReach(found.mpReach, mpFamily_, mpMulticast_, usable, nlri))
      return damaged(true, "%s", problem);
    if (usable) mpNlri_ = nlri;
  }
  if (update.empty() && mpNlri_.empty()) return skip("UPDATE without IPv4/IPv6 announcement");
  shared_.path.clear();
  shared_.pathHasWideAS = shared_.droppedSegments = false;
  if (found.hasASPath) {
    const ByteCursor* as4Path = asBytes == 2 && found.hasAS4Path ? &found.as4Path : nullptr;
    if (const char* problem = decodeASPath(found.asPath, asBytes, as4Path, shared_))
      return damaged(true, "%s", problem);
  }
  shared_.peerAS = sender;
  const char* problem = nullptr;
  if (!choosePrefixForm(update, MrtFamily::ipv4, addPath, addPath_, problem) ||
      !choosePrefixForm(mpNlri_, mpFamily_, addPath, mpAddPath_, problem))
    return damaged(true, "UPDATE NLRI: %s", problem);
  pending_ = Pending::updatePrefixes;
  rest_ = update;
}

bool MrtReader::choosePrefixForm(ByteCursor nlri, MrtFamily family, bool declared, bool& addPath,
                                 const char*& problem) {
  addPath = declared;
  problem = allPrefixesProblem(nlri, family, declared);
  if (problem == nullptr) return true;
  if (allPrefixesProblem(nlri, family, !declared) != nullptr) return false;
  addPath = !declared;
  ++otherPrefixForm_;
  return true;
}

const char* MrtReader::allPrefixesProblem(ByteCursor nlri, MrtFamily family, bool addPath) {
  while (!nlri.empty()) {
    if (const char* problem = takePrefix(nlri, family, addPath, scratch_)) return problem;
  }
  return nullptr;
}

bool MrtReader::produceUpdatePrefix(MrtEntry& entry) {
  const bool fromIPv4Nlri = !rest_.empty();
  ByteCursor& nlri = fromIPv4Nlri ? rest_ : mpNlri_;
  if (nlri.empty()) return false;
  // Checked whole by startUpdate, so this cannot fail.
  takePrefix(nlri, fromIPv4Nlri ? MrtFamily::ipv4 : mpFamily_, fromIPv4Nlri ? addPath_ : mpAddPath_,
             entry);
  entry.kind = MrtEntryKind::announcement;
  entry.multicast = !fromIPv4Nlri && mpMulticast_;
  entry.path = shared_.path;
  entry.pathHasWideAS = shared_.pathHasWideAS;
  entry.droppedSegments = shared_.droppedSegments;
  entry.peerAS = shared_.peerAS;
  return true;
}

bool MrtReader::produce(MrtEntry& entry) {
  bool made = false;
  switch (pending_) {
    case Pending::none:
      return false;
    case Pending::ribEntries:
      made = produceRibEntry(entry);
      break;
    case Pending::tableDumpEntries:
      made = produceTableDumpEntry(entry);
      break;
    case Pending::updatePrefixes:
      made = produceUpdatePrefix(entry);
      break;
  }
  if (!made) return false;
  entry.time = recordTime_;
  entry.recordOffset = recordOffset_;
  return true;
}
