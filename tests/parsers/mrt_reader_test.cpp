#include "parsers/mrt_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/mrt_decode.h"
#include "parsers/mrt_writer.h"

using namespace mrtw;

namespace {

Bytes path2(std::initializer_list<std::uint32_t> ases) {
  return asPathAttribute(sequence(ases, 2));
}
Bytes path4(std::initializer_list<std::uint32_t> ases) {
  return asPathAttribute(sequence(ases, 4));
}

Bytes peers() {
  return peerIndexTable({{701, false, false}, {4200000000u, true, false}, {3356, true, true}});
}

Bytes update(unsigned subtype, const Bytes& attributes, const Bytes& nlri, unsigned type = 16) {
  return bgp4mp(subtype, 65001, 65002, bgpMessage(2, updateBody(attributes, nlri)), 1, type);
}

TEST(MrtReaderTest, EveryRecordFormGivesItsEntries) {
  const Bytes v4 = prefix({10, 1, 0, 0}, 16);
  const Bytes v4b = prefix({192, 0, 2, 0}, 24);
  const Bytes v6 = prefix({0x20, 0x01, 0x0d, 0xb8}, 32);
  struct Case {
    const char* name;
    Bytes input;
    std::vector<std::string> entries;
  } cases[] = {
      {"TABLE_DUMP IPv4",
       tableDump(tableDumpEntry({10, 0, 0, 0}, 8, 701, path2({701, 1239}))),
       {"B 10.0.0.0/8|701|701 1239"}},
      {"TABLE_DUMP IPv6",
       tableDump(tableDumpEntry({0x20, 0x01}, 16, 701, path2({701}), true), true),
       {"B 2001:0:0:0:0:0:0:0/16|701|701"}},
      {"RIB_IPV4_UNICAST, one entry per peer",
       Bytes().add(peers()).add(
           ribRecord(2, v4,
                     {ribEntry(0, path4({701, 80})), ribEntry(1, path4({4200000000u, 80})),
                      ribEntry(2, path4({3356}))})),
       {"B 10.1.0.0/16|701|701 80", "B 10.1.0.0/16|4200000000|4200000000 80",
        "B 10.1.0.0/16|3356|3356"}},
      {"RIB_IPV4_MULTICAST",
       Bytes().add(peers()).add(ribRecord(3, v4, {ribEntry(0, path4({701}))})),
       {"B 10.1.0.0/16|701|701"}},
      {"RIB_IPV6_UNICAST",
       Bytes().add(peers()).add(ribRecord(4, v6, {ribEntry(2, path4({3356, 2}))})),
       {"B 2001:db8:0:0:0:0:0:0/32|3356|3356 2"}},
      {"RIB_IPV6_MULTICAST",
       Bytes().add(peers()).add(ribRecord(5, v6, {ribEntry(2, path4({3356}))})),
       {"B 2001:db8:0:0:0:0:0:0/32|3356|3356"}},
      {"RIB_IPV4_UNICAST_ADDPATH",
       Bytes().add(peers()).add(
           ribRecord(8, v4, {ribEntry(0, path4({701}), 1), ribEntry(0, path4({701, 7}), 2)})),
       {"B 10.1.0.0/16|701|701", "B 10.1.0.0/16|701|701 7"}},
      {"RIB_IPV6_MULTICAST_ADDPATH",
       Bytes().add(peers()).add(ribRecord(11, v6, {ribEntry(2, path4({3356}), 9)})),
       {"B 2001:db8:0:0:0:0:0:0/32|3356|3356"}},
      {"BGP4MP MESSAGE, one entry per prefix",
       update(1, path2({65001, 3}), Bytes().add(v4).add(v4b)),
       {"A 10.1.0.0/16|65001|65001 3", "A 192.0.2.0/24|65001|65001 3"}},
      {"BGP4MP MESSAGE_AS4",
       update(4, path4({65001, 4200000000u}), v4),
       {"A 10.1.0.0/16|65001|65001 4200000000"}},
      {"BGP4MP MESSAGE_LOCAL, sent by the local AS",
       update(6, path2({65002}), v4),
       {"A 10.1.0.0/16|65002|65002"}},
      {"BGP4MP MESSAGE_AS4_LOCAL", update(7, path4({65002}), v4), {"A 10.1.0.0/16|65002|65002"}},
      {"BGP4MP MESSAGE_ADDPATH",
       update(8, path2({65001}), prefix({10, 1}, 16, 5)),
       {"A 10.1.0.0/16|65001|65001"}},
      {"BGP4MP MESSAGE_AS4_LOCAL_ADDPATH",
       update(11, path4({65002}), prefix({10, 1}, 16, 5)),
       {"A 10.1.0.0/16|65002|65002"}},
      {"BGP4MP_ET MESSAGE_AS4", update(4, path4({65001}), v4, 17), {"A 10.1.0.0/16|65001|65001"}},
      {"MP_REACH_NLRI IPv6 after the IPv4 NLRI",
       update(4, Bytes().add(path4({65001})).add(mpReach(2, 1, v6)), v4),
       {"A 10.1.0.0/16|65001|65001", "A 2001:db8:0:0:0:0:0:0/32|65001|65001"}},
      {"MP_REACH_NLRI with ADD-PATH",
       update(9, Bytes().add(path4({65001})).add(mpReach(2, 2, prefix({0x20, 1}, 16, 7))), Bytes()),
       {"A 2001:0:0:0:0:0:0:0/16|65001|65001"}},
      {"MP_REACH_NLRI of a VPN family gives nothing",
       update(4, Bytes().add(path4({65001})).add(mpReach(1, 128, v4)), v4b),
       {"A 192.0.2.0/24|65001|65001"}},
      {"deprecated BGP UPDATE",
       legacyUpdate(3333, updateBody(path2({3333, 1}), v4)),
       {"A 10.1.0.0/16|3333|3333 1"}},
      {"an UPDATE without AS_PATH gives an empty path",
       update(1, originAttribute(), v4),
       {"A 10.1.0.0/16|65001|"}},
      {"AS4_PATH merged into a 2-byte TABLE_DUMP path",
       tableDump(tableDumpEntry({10, 0, 0, 0}, 8, 701,
                                Bytes()
                                    .add(path2({701, 23456, 23456}))
                                    .add(as4PathAttribute(sequence({4200000001u, 65536}, 4))))),
       {"B 10.0.0.0/8|701|701 4200000001 65536"}},
      {"AS4_PATH ignored for 4-byte paths",
       update(4, Bytes().add(path4({701, 1})).add(as4PathAttribute(sequence({9}, 4))), v4),
       {"A 10.1.0.0/16|65001|701 1"}},
      {"AS_SET left out and noted",
       update(1, asPathAttribute(Bytes().add(sequence({701, 1239}, 2)).add(segment(1, {5, 6}, 2))),
              v4),
       {"A 10.1.0.0/16|65001|701 1239 {}"}},
  };
  for (const Case& c : cases) {
    MrtOutcome outcome = decodeAll(c.input.str());
    EXPECT_EQ(outcome.entries, c.entries) << c.name;
    EXPECT_EQ(outcome.status, MrtStatus::end) << c.name;
    EXPECT_TRUE(outcome.problems.empty())
        << c.name << ": " << (outcome.problems.empty() ? "" : outcome.problems[0]);
  }
}

TEST(MrtReaderTest, EntryTellsWideASTimeAndRecordOffset) {
  const Bytes first = tableDump(tableDumpEntry({10, 0, 0, 0}, 8, 701, path2({701})));
  const Bytes input = Bytes().add(first).add(update(4, path4({65536}), prefix({10}, 8)));
  MemoryByteSource source(input.data.data(), input.size());
  MrtReader reader(source);
  MrtEntry entry;
  ASSERT_EQ(reader.next(entry), MrtStatus::entry);
  EXPECT_FALSE(entry.pathHasWideAS);
  EXPECT_EQ(entry.recordOffset, 0u);
  EXPECT_EQ(entry.time, 1000000000u);
  const ASNumber* storage = entry.path.data();
  ASSERT_EQ(reader.next(entry), MrtStatus::entry);
  EXPECT_TRUE(entry.pathHasWideAS);
  EXPECT_EQ(entry.kind, MrtEntryKind::announcement);
  EXPECT_EQ(entry.recordOffset, first.size());
  EXPECT_EQ(entry.path.data(), storage);  // the path's storage is reused, not reallocated
  EXPECT_EQ(reader.next(entry), MrtStatus::end);
}

TEST(MrtReaderTest, SkippedRecordsAreCountedByReason) {
  const Bytes input = Bytes()
                          .add(record(16, 0, Bytes().zeros(20)))
                          .add(record(17, 5, Bytes().zeros(24)))
                          .add(bgp4mp(4, 1, 2, bgpMessage(4, Bytes())))
                          .add(bgp4mp(1, 1, 2, bgpMessage(1, Bytes().zeros(10))))
                          .add(update(1, path2({1}), Bytes()))
                          .add(record(13, 6, Bytes().zeros(9)))
                          .add(record(13, 12, Bytes().zeros(9)))
                          .add(record(48, 1, Bytes().zeros(3)))
                          .add(record(16, 2, Bytes().zeros(3)))
                          .add(record(5, 3, Bytes().zeros(10)))
                          .add(record(5, 7, Bytes().zeros(12)));
  MrtOutcome outcome = decodeAll(input.str());
  EXPECT_EQ(outcome.status, MrtStatus::end);
  EXPECT_TRUE(outcome.entries.empty());
  std::vector<std::string> counted;
  for (int i = 0; i < outcome.stats.reasonCount(); ++i)
    counted.push_back(std::to_string(outcome.stats.count(i)) + " " + outcome.stats.reason(i));
  EXPECT_EQ(counted, (std::vector<std::string>{"2 BGP4MP state change", "3 not an UPDATE",
                                               "1 UPDATE without IPv4/IPv6 announcement",
                                               "2 RIB_GENERIC", "1 unknown MRT type 48",
                                               "1 unknown BGP4MP subtype", "1 BGP state change"}));
}

TEST(MrtReaderTest, DamagedRecordsAreSkippedWithTheirReason) {
  const Bytes good = update(1, path2({7}), prefix({10}, 8));
  const std::string goodEntry = "A 10.0.0.0/8|65001|7";
  struct Case {
    const char* name;
    Bytes damaged;
    std::string problem;               // after "record at byte <offset of the damaged record>: "
    std::vector<std::string> entries;  // of the damaged record
  } cases[] = {
      {"AS_PATH segment longer than its attribute",
       update(1, asPathAttribute(Bytes().u8(2).u8(3).u16(1).u16(2)), prefix({10}, 8)),
       "AS_PATH segment longer than its attribute",
       {}},
      {"unknown segment type",
       update(1, asPathAttribute(segment(7, {1}, 2)), prefix({10}, 8)),
       "unknown AS_PATH segment type",
       {}},
      {"attribute longer than the attributes",
       update(1, Bytes().u8(0x40).u8(2).u8(40).u8(2), prefix({10}, 8)),
       "attribute longer than the attributes",
       {}},
      {"prefix longer than 32 bits",
       update(1, path2({7}), prefix({10}, 33)),
       "UPDATE NLRI: prefix length out of range",
       {}},
      {"prefix cut short",
       update(1, path2({7}), Bytes().u8(24).u8(10)),
       "UPDATE NLRI: prefix cut short",
       {}},
      {"BGP message longer than its record",
       bgp4mp(1, 1, 2, Bytes().zeros(16).u16(400).u8(2).zeros(4)),
       "BGP message length 400 does not fit its record",
       {}},
      {"unknown BGP4MP address family",
       bgp4mp(1, 1, 2, bgpMessage(2, Bytes()), 3),
       "BGP4MP address family 3 unknown",
       {}},
      {"RIB entry of an unknown peer; the next entry still counts",
       ribRecord(2, prefix({10}, 8), {ribEntry(9, path4({1})), ribEntry(0, path4({2}))}),
       "RIB entry 1: peer index 9 not in the PEER_INDEX_TABLE (3 peers)",
       {"B 10.0.0.0/8|701|2"}},
      {"RIB entry count beyond the record",
       record(13, 2, Bytes().u32(1).add(prefix({10}, 8)).u16(2).add(ribEntry(0, path4({3})))),
       "RIB entry 2 cut short",
       {"B 10.0.0.0/8|701|3"}},
      {"TABLE_DUMP prefix length 40",
       tableDump(tableDumpEntry({10, 0, 0, 0}, 40, 1, path2({1}))),
       "TABLE_DUMP entry 1: prefix length 40 out of range",
       {}},
      {"TABLE_DUMP with bytes after its entry",
       record(12, 1, Bytes().u32(0).add(tableDumpEntry({10, 0, 0, 0}, 8, 1, path2({1}))).zeros(3)),
       "3 bytes after the TABLE_DUMP entry",
       {"B 10.0.0.0/8|1|1"}},
      {"PEER_INDEX_TABLE cut short",
       record(13, 1, Bytes().u32(1).u16(0).u16(2).u8(0).u32(1).u32(1).u16(5).u8(2)),
       "PEER_INDEX_TABLE cut short at peer 1 of 2",
       {}},
  };
  for (const Case& c : cases) {
    const Bytes input = Bytes().add(peers()).add(c.damaged).add(good);
    MrtOutcome outcome = decodeAll(input.str());
    std::vector<std::string> entries = c.entries;
    entries.push_back(goodEntry);
    EXPECT_EQ(outcome.entries, entries) << c.name;
    EXPECT_EQ(outcome.status, MrtStatus::end) << c.name;
    EXPECT_EQ(outcome.problems,
              std::vector<std::string>{"record at byte " + std::to_string(peers().size()) + ": " +
                                       c.problem})
        << c.name;
    ASSERT_EQ(outcome.stats.reasonCount(), 1) << c.name;
    EXPECT_STREQ(outcome.stats.reason(0), "damaged record") << c.name;
  }
}

TEST(MrtReaderTest, PrefixesInTheUndeclaredAddPathFormAreRead) {
  // Some daemons write path identifiers under the plain subtypes; only that reading fits.
  const Bytes nlri = Bytes().add(prefix({172, 17, 0}, 24, 2)).add(prefix({172, 17, 1}, 24, 2));
  MrtOutcome outcome = decodeAll(update(4, path4({4200000000u}), nlri).str());
  EXPECT_EQ(outcome.entries, (std::vector<std::string>{"A 172.17.0.0/24|65001|4200000000",
                                                       "A 172.17.1.0/24|65001|4200000000"}));
  EXPECT_TRUE(outcome.problems.empty());
}

TEST(MrtReaderTest, CutsAnywhereNeverReadPastTheInput) {
  // Every prefix of a valid input: the whole records before the cut are decoded, the cut record
  // is reported once, and nothing is read beyond the cut (the sanitizer build checks that).
  const Bytes rib =
      ribRecord(2, prefix({10}, 8), {ribEntry(0, path4({1, 2})), ribEntry(2, path4({3}))});
  const Bytes announcement =
      update(4, Bytes().add(path4({4})).add(mpReach(2, 1, prefix({0x20}, 8))), prefix({11}, 8));
  const Bytes input = Bytes().add(peers()).add(rib).add(announcement);
  const MrtOutcome whole = decodeAll(input.str());
  ASSERT_EQ(whole.entries.size(), 4u);
  for (std::size_t cut = 1; cut < input.size(); ++cut) {
    MrtOutcome outcome = decodeAll(input.str().substr(0, cut));
    if (cut < 12) {
      EXPECT_EQ(outcome.status, MrtStatus::notMrt) << cut;
      continue;
    }
    EXPECT_EQ(outcome.status, MrtStatus::end) << cut;
    EXPECT_LE(outcome.entries.size(), whole.entries.size()) << cut;
    const bool atBoundary = cut == peers().size() || cut == peers().size() + rib.size();
    ASSERT_EQ(outcome.problems.size(), atBoundary ? 0u : 1u) << cut;
    if (!atBoundary) {
      EXPECT_EQ(outcome.problems[0].rfind("record at byte ", 0), 0u) << cut;
    }
  }
}

TEST(MrtReaderTest, InputThatIsNotMrtIsRecognisedAtTheFirstRecord) {
  struct Case {
    std::string input;
    MrtStatus status;
    std::string reason;
  } cases[] = {
      {"", MrtStatus::end, ""},
      {"1239 701 3356\n7018 1239\n", MrtStatus::notMrt,
       "not an MRT file: the first record header (type 8247, subtype 12337, length 540226357) is "
       "not MRT"},
      {"\x1f\x8b\x08", MrtStatus::notMrt, "not an MRT file: only 3 bytes"},
      {record(13, 40, Bytes()).str(), MrtStatus::notMrt,
       "not an MRT file: the first record header (type 13, subtype 40, length 0) is not MRT"},
      {record(12, 1, Bytes(), 16 * 1024 * 1024 + 1).str(), MrtStatus::notMrt,
       "not an MRT file: the first record header (type 12, subtype 1, length 16777217) is not MRT"},
      {Bytes()
           .add(tableDump(tableDumpEntry({10, 0, 0, 0}, 8, 1, path2({1}))))
           .add(record(300, 1, Bytes()))
           .str(),
       MrtStatus::stopped,
       "record at byte 41: implausible header (type 300, subtype 1, length 0); the records after "
       "it cannot be found"},
  };
  for (const Case& c : cases) {
    MrtOutcome outcome = decodeAll(c.input);
    EXPECT_EQ(outcome.status, c.status) << c.input;
    EXPECT_EQ(outcome.reason, c.reason);
  }
}

class FailingSource : public ByteSource {
 public:
  explicit FailingSource(const Bytes& first) : first_(first) {}
  long read(void* out, std::size_t n) override {
    if (given_) return -1;
    given_ = true;
    const std::size_t size = std::min(n, first_.size());
    std::memcpy(out, first_.data.data(), size);
    return static_cast<long>(size);
  }
  const char* errReason() const override { return "Input/output error"; }

 private:
  Bytes first_;
  bool given_ = false;
};

TEST(MrtReaderTest, ReadErrorEndsWithTheSourcesReason) {
  const Bytes whole = tableDump(tableDumpEntry({10, 0, 0, 0}, 8, 1, path2({1})));
  FailingSource source(Bytes().add(whole).u32(5));
  MrtOutcome outcome = decodeAll(source);
  EXPECT_EQ(outcome.entries, std::vector<std::string>{"B 10.0.0.0/8|1|1"});
  EXPECT_EQ(outcome.status, MrtStatus::readError);
  EXPECT_EQ(outcome.reason, "read error after byte 45: Input/output error");
}

}  // namespace
