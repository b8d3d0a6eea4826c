#include "io/line_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "io/compress.h"
#include "io/input_stream.h"
#include "parsers/temp_files.h"

namespace {

// The lines as delivered, each checked to be followed by a NUL and to be called plain exactly
// when it holds neither a NUL nor a carriage return, and the position after each.
struct Delivered {
  std::vector<std::string> lines;
  std::vector<unsigned long long> positions;
};

Delivered readLines(LineReader& reader) {
  Delivered delivered;
  LineReader::Line line;
  while (reader.nextLine(line)) {
    EXPECT_EQ(line.text[line.length], '\0');
    delivered.lines.emplace_back(line.text, line.length);
    EXPECT_EQ(line.plain,
              delivered.lines.back().find_first_of(std::string("\0\r", 2)) == std::string::npos)
        << delivered.lines.size();
    delivered.positions.push_back(reader.position());
  }
  return delivered;
}

TEST(LineReaderTest, LinesComeWholeWithTheirEnds) {
  struct Case {
    std::string content;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a\nbc\n", {"a\n", "bc\n"}},
      {"a\nbc", {"a\n", "bc"}},  // the last line without a line end comes as it is
      {"\n\n", {"\n", "\n"}},
      {"a\r\nb\rc\n", {"a\r\n", "b\rc\n"}},  // only a line feed ends a line
      {std::string("a\0b\nc\n", 6), {std::string("a\0b\n", 4), "c\n"}},
  };
  for (const Case& c : cases) {
    TempFiles files;
    InputStream stream;
    ASSERT_TRUE(stream.open(files.write(c.content).c_str()));
    LineReader reader(stream);
    Delivered delivered = readLines(reader);
    EXPECT_EQ(delivered.lines, c.lines);
    EXPECT_EQ(reader.position(), c.content.size());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.failed());
  }
}

// Lines that span block boundaries, and lines longer than the buffer, from a plain and from a
// compressed input, read in the large blocks and in small ones: every line whole, every
// position exact.
TEST(LineReaderTest, LinesAcrossBlocksAndLongerThanTheBuffer) {
  std::string content;
  std::vector<std::string> expected;
  const std::size_t block = InputStream::kBlockSize;
  for (std::size_t length : {std::size_t{1}, std::size_t{100}, block - 1, block, block + 1,
                             std::size_t{3}, 3 * block, std::size_t{40}, block + 7}) {
    std::string line(length - 1, static_cast<char>('a' + expected.size()));
    // Some lines carry a carriage return or a NUL, near block ends too.
    if (expected.size() % 3 == 1) line[line.size() / 2] = expected.size() % 2 ? '\r' : '\0';
    expected.push_back(line + "\n");
    content += expected.back();
  }
  content += manyLines(600000);
  for (auto [codec, blockSize] : {std::pair{Codec::plain, block},
                                  {Codec::plain, std::size_t{4096}},
                                  {Codec::plain, std::size_t{1}},
                                  {Codec::gzip, block},
                                  {Codec::zstd, std::size_t{4096}}}) {
    if (!codecBuiltIn(codec)) continue;
    TempFiles files;
    InputStream stream;
    ASSERT_TRUE(stream.open(
        files.write(codec == Codec::plain ? content : compress(codec, content)).c_str()));
    LineReader reader(stream);
    reader.setBlockSize(blockSize);
    Delivered delivered = readLines(reader);
    ASSERT_GT(delivered.lines.size(), expected.size());
    unsigned long long position = 0;
    std::string joined;
    for (std::size_t i = 0; i < delivered.lines.size(); ++i) {
      if (i < expected.size()) {
        EXPECT_TRUE(delivered.lines[i] == expected[i]) << i;
      }
      position += delivered.lines[i].size();
      EXPECT_EQ(delivered.positions[i], position);
      joined += delivered.lines[i];
    }
    EXPECT_TRUE(joined == content) << codecName(codec) << " " << blockSize;
  }
}

// Binary records read between lines through the same buffer, small and large ones, with peek
// and skip: each byte exactly once, the position exact.
TEST(LineReaderTest, BinaryReadsMixWithLines) {
  std::string big(600000, 'x');
  for (std::size_t i = 0; i < big.size(); i += 997) big[i] = '\n';
  const std::string content =
      "head\n" + std::string("\x01\x02\n\x00\x05", 5) + "line\n" + big + "MRT" + "tail";
  TempFiles files;
  InputStream stream;
  ASSERT_TRUE(stream.open(files.write(content).c_str()));
  LineReader reader(stream);
  const unsigned char* view = nullptr;
  ASSERT_EQ(reader.peek(300000, view), 300000u);  // longer than the buffer: it grows
  EXPECT_EQ(content.compare(0, 300000, reinterpret_cast<const char*>(view), 300000), 0);
  EXPECT_EQ(reader.position(), 0u);  // a peek consumes nothing
  LineReader::Line line;
  ASSERT_TRUE(reader.nextLine(line));
  EXPECT_EQ(std::string(line.text, line.length), "head\n");
  char record[5];
  ASSERT_EQ(reader.read(record, 5), 5);
  EXPECT_EQ(std::string(record, 5), std::string("\x01\x02\n\x00\x05", 5));
  ASSERT_TRUE(reader.nextLine(line));
  EXPECT_EQ(std::string(line.text, line.length), "line\n");
  EXPECT_EQ(reader.position(), 15u);
  std::string large(big.size(), '\0');
  ASSERT_EQ(reader.read(&large[0], large.size()), static_cast<long>(big.size()));
  EXPECT_TRUE(large == big);
  ASSERT_EQ(reader.peek(3, view), 3u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view), 3), "MRT");
  reader.skip(3);
  EXPECT_EQ(reader.read(record, 5), 4);  // fewer at the end
  EXPECT_EQ(std::string(record, 4), "tail");
  EXPECT_EQ(reader.read(record, 5), 0);
  EXPECT_EQ(reader.position(), content.size());
  EXPECT_TRUE(reader.atEnd());
}

// A read error ends the lines; the unfinished line before it is not handed out as if whole.
TEST(LineReaderTest, ErrorEndsTheLines) {
  if (!codecBuiltIn(Codec::gzip)) GTEST_SKIP();
  const std::string content = manyLines(500000);
  const std::string packed = compress(Codec::gzip, content);
  TempFiles files;
  InputStream stream;
  ASSERT_TRUE(stream.open(files.write(packed.substr(0, packed.size() / 2)).c_str()));
  LineReader reader(stream);
  Delivered delivered = readLines(reader);
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(reader.errorNumber(), EIO);
  EXPECT_STREQ(reader.errorText(), "gzip: unexpected end of compressed data");
  ASSERT_FALSE(delivered.lines.empty());
  EXPECT_EQ(delivered.lines.back().back(), '\n');
  EXPECT_EQ(content.compare(0, reader.position(), content, 0, reader.position()), 0);
  char byte;
  EXPECT_LT(reader.read(&byte, 1), 0);

  // A record read across the error hands out nothing of it.
  InputStream again;
  ASSERT_TRUE(again.open(files.write(packed.substr(0, packed.size() / 2)).c_str()));
  LineReader records(again);
  std::string record(content.size(), '\0');
  ASSERT_EQ(records.read(&record[0], 100), 100);
  EXPECT_LT(records.read(&record[0], record.size()), 0);
  EXPECT_EQ(records.position(), 100u);
}

// A line may hold kMaxLineLength bytes, its line end included; one byte more is a read error
// that says where the line starts, and the lines before it are all handed out.
TEST(LineReaderTest, LinesLongerThanTheBoundAreRefused) {
  const std::size_t most = LineReader::kMaxLineLength;
  const struct {
    Codec codec;
    std::string content;
    std::size_t lines;  // handed out before the end or the error
    const char* error;  // null: a clean end
  } cases[] = {
      {Codec::plain, std::string(most - 1, 'a') + "\nb\n", 2, nullptr},
      {Codec::plain, "ab\n" + std::string(most, 'a'), 2, nullptr},  // the last line, at the end
      {Codec::plain, std::string(most, 'a') + "\n", 0, "line at byte 0 is longer than 16 MiB"},
      {Codec::plain, "ab\n" + std::string(most + 1, '\0'), 1,
       "line at byte 3 is longer than 16 MiB"},
      {Codec::gzip, "ab\n" + std::string(3 * most, 'a'), 1,
       "line at byte 3 of the decompressed data is longer than 16 MiB"},
  };
  for (const auto& c : cases) {
    if (!codecBuiltIn(c.codec)) continue;
    TempFiles files;
    InputStream stream;
    ASSERT_TRUE(stream.open(files.write(compress(c.codec, c.content)).c_str()));
    LineReader reader(stream);
    EXPECT_EQ(readLines(reader).lines.size(), c.lines);
    EXPECT_EQ(reader.lineTooLong(), c.error != nullptr);
    EXPECT_STREQ(reader.errorText(), c.error != nullptr ? c.error : "");
  }
}

}  // namespace
