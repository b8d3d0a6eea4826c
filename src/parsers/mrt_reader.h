// Decodes MRT routing data (RFC 6396, with the ADD-PATH forms of RFC 8050) into entries of one
// AS path and one prefix, for graph construction. It reads:
//   TABLE_DUMP (12)       one RIB entry per record, 2-byte ASes (batched entries of repaired
//                         records too, see mrt_record_stream.h)
//   TABLE_DUMP_V2 (13)    PEER_INDEX_TABLE, then RIB_IPV4/IPV6_UNICAST/MULTICAST and their
//                         ADD-PATH forms: one entry per peer, 4-byte ASes
//   BGP4MP (16), BGP4MP_ET (17)  MESSAGE, MESSAGE_AS4, their _LOCAL and _ADDPATH forms: one
//                         entry per prefix an UPDATE announces (IPv4 NLRI and MP_REACH_NLRI)
//   BGP (5), deprecated   UPDATE, as in the RIPE RIS dumps of 1999: 2-byte ASes
// Everything else is skipped and counted in ReadStats under one of: "BGP4MP state change",
// "BGP state change", "not an UPDATE", "UPDATE without IPv4/IPv6 announcement" (withdrawals,
// other address families), "RIB_GENERIC", "unknown TABLE_DUMP subtype", "unknown TABLE_DUMP_V2
// subtype", "unknown BGP4MP subtype", "unknown MRT type N" (N = 0-4, 6-11, 32, 33, 48, 49).
// A damaged record, or a damaged entry inside a RIB record, is skipped, counted as "damaged
// record" and described to the problem listener; reading goes on with the next one. A last
// record cut short by the end of the input counts as "truncated record".
// A route without AS_PATH gives an entry with an empty path. When the prefixes of an UPDATE do
// not read in the ADD-PATH form its subtype declares but do in the other form, they are read in
// the other (BIRD logs path identifiers under the plain subtypes).
//
// Usage:
//   MrtReader reader(source, &stats);
//   MrtEntry entry;
//   MrtStatus status;
//   while ((status = reader.next(entry)) == MrtStatus::entry) use(entry);
//   if (status != MrtStatus::end) report(reader.errReason());
#ifndef ZELGRIN_PARSERS_MRT_READER_H
#define ZELGRIN_PARSERS_MRT_READER_H

#include <cstdint>
#include <vector>

#include "parsers/byte_cursor.h"
#include "parsers/byte_source.h"
#include "parsers/mrt_entry.h"
#include "parsers/mrt_record_stream.h"
#include "parsers/read_stats.h"

// Told about every record or entry skipped as damaged, for a verbose report.
class MrtProblemListener {
 public:
  virtual ~MrtProblemListener() = default;
  // `text` names the record's byte offset and the fault, e.g. "record at byte 4096: AS_PATH
  // segment longer than its attribute"; it is valid during the call only.
  virtual void skippedDamaged(const char* text) = 0;
};

enum class MrtStatus {
  entry,      // the entry is filled
  end,        // the input is read to its end (a last record cut short is counted, not fatal)
  notMrt,     // the input does not start with an MRT record; nothing was decoded
  stopped,    // a record header made no sense, so the rest could not be framed
  readError,  // the source failed; errReason() holds its reason
  damaged,    // with a problem listener only: a record or entry was skipped as damaged and the
              // listener told; reading goes on at the next call
};

class MrtReader {
 public:
  // Skipped records are counted into `stats` when it is not null. Both must outlive the reader.
  explicit MrtReader(ByteSource& source, ReadStats* stats = nullptr);
  MrtReader(const MrtReader&) = delete;
  MrtReader& operator=(const MrtReader&) = delete;

  // With a listener, next() returns `damaged` after each damaged record or entry, so that a
  // caller reports them one at a time as they come, whatever their number.
  void setProblemListener(MrtProblemListener* listener) { listener_ = listener; }

  // Fills `entry` with the next entry, reusing its path's storage. After a status other than
  // entry, every later call returns end.
  MrtStatus next(MrtEntry& entry);
  // Why reading ended early (notMrt, stopped, readError), or after end the fault of a last
  // record cut short; empty when the input ended cleanly.
  const char* errReason() const { return stream_.errReason(); }
  // Records and entries skipped as damaged so far.
  std::uint64_t damagedCount() const { return damaged_; }
  // Records and entries skipped so far, for any reason: those counted in `stats`.
  std::uint64_t skippedCount() const { return skipped_; }
  // TABLE_DUMP records whose length was repaired so far.
  std::uint64_t repairedRecords() const { return repaired_; }
  // Blocks of UPDATE prefixes read in the other ADD-PATH form than their subtype declares,
  // because only that form reads (some BGP daemons log path identifiers under the plain
  // subtypes).
  std::uint64_t otherPrefixFormCount() const { return otherPrefixForm_; }

 private:
  enum class Pending { none, ribEntries, tableDumpEntries, updatePrefixes };

  void startRecord(const MrtRecord& record);
  void readPeerIndexTable(ByteCursor body);
  void startRib(ByteCursor body, MrtFamily family, bool multicast, bool addPath);
  void startTableDump(ByteCursor body, MrtFamily family, bool batched);
  void startBgp4mpMessage(ByteCursor body, bool as4, bool local, bool addPath);
  void startLegacyUpdate(ByteCursor body);
  void startUpdate(ByteCursor update, int asBytes, bool addPath, ASNumber sender);
  // Sets `addPath` to the form in which every prefix of `nlri` reads: the declared one, else the
  // other one. False, with the declared form's problem, when neither reads.
  bool choosePrefixForm(ByteCursor nlri, MrtFamily family, bool declared, bool& addPath,
                        const char*& problem);
  const char* allPrefixesProblem(ByteCursor nlri, MrtFamily family, bool addPath);

  // Fills `entry` from the pending record; false when it holds no further entry.
  bool produce(MrtEntry& entry);
  bool produceRibEntry(MrtEntry& entry);
  bool produceTableDumpEntry(MrtEntry& entry);
  // The fields of a RIB entry both table dump forms fill alike; the prefix is the caller's.
  void fillRibEntry(MrtEntry& entry, bool hasASPath, std::uint8_t prefixLength,
                    ASNumber peerAS) const;
  bool produceUpdatePrefix(MrtEntry& entry);

  void skip(const char* reason);
  // Counts a damaged record (or entry), tells the listener and drops what is pending when
  // `wholeRecord`.
  void damaged(bool wholeRecord, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 3, 4)))
#endif
      ;

  MrtRecordStream stream_;
  ReadStats* stats_;
  MrtProblemListener* listener_ = nullptr;
  std::uint64_t damaged_ = 0;
  std::uint64_t skipped_ = 0;
  bool reportReady_ = false;  // the listener was told of a damaged record next() must return
  std::uint64_t repaired_ = 0;
  std::uint64_t otherPrefixForm_ = 0;
  std::vector<ASNumber> peerAS_;  // of the last PEER_INDEX_TABLE, by peer index

  // The record being handed out entry by entry.
  Pending pending_ = Pending::none;
  std::uint64_t recordOffset_ = 0;
  std::uint32_t recordTime_ = 0;
  ByteCursor rest_;  // entries or NLRI not yet handed out
  MrtFamily family_ = MrtFamily::ipv4;
  bool multicast_ = false;  // RIB records of a multicast subtype
  bool addPath_ = false;
  bool batched_ = false;      // TABLE_DUMP: further entries follow the first
  unsigned entryNumber_ = 0;  // RIB or TABLE_DUMP entries handed out of this record
  unsigned entriesLeft_ = 0;  // RIB entries still to come
  MrtEntry shared_;           // prefix of a RIB record, or path and sender of an UPDATE
  ByteCursor mpNlri_;         // UPDATE: MP_REACH_NLRI prefixes, after the IPv4 NLRI
  MrtFamily mpFamily_ = MrtFamily::ipv4;
  bool mpMulticast_ = false;
  bool mpAddPath_ = false;
  MrtEntry scratch_;  // where prefixes are test-read
};

#endif  // ZELGRIN_PARSERS_MRT_READER_H
