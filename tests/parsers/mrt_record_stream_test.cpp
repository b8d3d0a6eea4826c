#include "parsers/mrt_record_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/mrt_decode.h"
#include "parsers/mrt_writer.h"

using namespace mrtw;

namespace {

Bytes entry(unsigned firstByte, unsigned peerAS) {
  return tableDumpEntry({firstByte, 0, 0, 0}, 8, peerAS,
                        asPathAttribute(sequence({peerAS, 80}, 2)));
}

// A TABLE_DUMP record batching two entries, its length `delta` bytes off what is written.
Bytes batched(unsigned firstByte, int delta) {
  return tableDump(Bytes().add(entry(firstByte, 3549)).add(entry(firstByte, 5409)), false, delta);
}

TEST(MrtRecordStreamTest, RecordsAreFramedWithOffsets) {
  const Bytes input =
      Bytes().add(record(16, 0, Bytes().zeros(3))).add(record(17, 4, Bytes().zeros(5), 0, 7));
  MemoryByteSource source(input.data.data(), input.size());
  MrtRecordStream stream(source);
  MrtRecord r;
  ASSERT_EQ(stream.next(r), MrtStep::record);
  EXPECT_EQ(r.offset, 0u);
  EXPECT_EQ(r.body.remaining(), 3u);
  ASSERT_EQ(stream.next(r), MrtStep::record);
  EXPECT_EQ(r.offset, 15u);
  EXPECT_EQ(r.type, 17);
  EXPECT_EQ(r.subtype, 4);
  EXPECT_EQ(r.time, 7u);
  EXPECT_EQ(r.body.remaining(), 5u);
  EXPECT_FALSE(r.lengthCorrected);
  EXPECT_EQ(stream.next(r), MrtStep::end);
  EXPECT_EQ(stream.next(r), MrtStep::end);
}

TEST(MrtRecordStreamTest, TableDumpDeclaredFourBytesShortIsRepaired) {
  const std::vector<std::string> six = {"B 10.0.0.0/8|3549|3549 80", "B 10.0.0.0/8|5409|5409 80",
                                        "B 11.0.0.0/8|3549|3549 80", "B 11.0.0.0/8|5409|5409 80",
                                        "B 12.0.0.0/8|3549|3549 80", "B 12.0.0.0/8|5409|5409 80"};
  struct Case {
    const char* name;
    Bytes input;
    std::vector<std::string> entries;
    std::uint64_t repaired;
    MrtStatus status;
    std::vector<std::string> problems;
  } cases[] = {
      {"every record short, the last one at the end of the input",
       Bytes().add(batched(10, -4)).add(batched(11, -4)).add(batched(12, -4)),
       six,
       3,
       MrtStatus::end,
       {}},
      {"one short record among correct ones",
       Bytes().add(tableDump(entry(10, 1))).add(batched(11, -4)).add(tableDump(entry(12, 1))),
       {"B 10.0.0.0/8|1|1 80", "B 11.0.0.0/8|3549|3549 80", "B 11.0.0.0/8|5409|5409 80",
        "B 12.0.0.0/8|1|1 80"},
       1,
       MrtStatus::end,
       {}},
      {"correct lengths: batched entries are not taken for granted",
       Bytes().add(batched(10, 0)).add(tableDump(entry(12, 1))),
       {"B 10.0.0.0/8|3549|3549 80", "B 12.0.0.0/8|1|1 80"},
       0,
       MrtStatus::end,
       {"record at byte 0: 27 bytes after the TABLE_DUMP entry"}},
      {"short by 3: no plausible header either way",
       Bytes().add(batched(10, -3)).add(batched(11, 0)),
       {"B 10.0.0.0/8|3549|3549 80"},
       0,
       MrtStatus::stopped,
       {"record at byte 0: 24 bytes after the TABLE_DUMP entry",
        "record at byte 67: implausible header (type 39626, subtype 0, length 201326848); the "
        "records after it "
        "cannot be found"}},
  };
  for (const Case& c : cases) {
    MrtOutcome outcome = decodeAll(c.input.str());
    EXPECT_EQ(outcome.entries, c.entries) << c.name;
    EXPECT_EQ(outcome.repaired, c.repaired) << c.name;
    EXPECT_EQ(outcome.status, c.status) << c.name;
    EXPECT_EQ(outcome.problems, c.problems) << c.name;
  }
}

TEST(MrtRecordStreamTest, OnlyTableDumpRecordsAreRepaired) {
  const Bytes short4 = record(16, 0, Bytes().zeros(20), -4);
  const Bytes input = Bytes().add(short4).add(record(16, 0, Bytes().zeros(20)));
  MrtOutcome outcome = decodeAll(input.str());
  EXPECT_EQ(outcome.status, MrtStatus::stopped);
  EXPECT_EQ(outcome.repaired, 0u);
}

TEST(MrtRecordStreamTest, HugeLengthStopsWithoutBuffering) {
  const Bytes input = Bytes().add(record(16, 0, Bytes())).add(record(16, 0, Bytes(), 0x7fffffff));
  MrtOutcome outcome = decodeAll(input.str());
  EXPECT_EQ(outcome.status, MrtStatus::stopped);
  EXPECT_EQ(outcome.reason,
            "record at byte 12: implausible header (type 16, subtype 0, length 2147483647); the "
            "records after "
            "it cannot be found");
}

}  // namespace
