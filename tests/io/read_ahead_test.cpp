#include "io/read_ahead.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "io/compress.h"
#include "io/input_stream.h"
#include "io/line_reader.h"
#include "parsers/temp_files.h"

namespace {

// What a reader gets from `path`: its lines, or records of changing sizes below a block, each
// followed by the stored position after it, then the error. Decoding ahead must not change a
// byte of it.
std::string trace(const std::string& path, bool ahead, ReadPattern pattern) {
  InputStream stream;
  stream.setReadAhead(ahead);
  LineReader reader(stream);
  if (!stream.open(path.c_str())) return "not opened";
  std::string seen;
  const auto mark = [&] { seen += "@" + std::to_string(stream.rawPosition()) + "\n"; };
  if (pattern == ReadPattern::lines) {
    LineReader::Line line;
    while (reader.nextLine(line)) {
      seen.append(line.text, line.length);
      mark();
    }
  } else {
    std::vector<char> record(InputStream::kBlockSize);
    std::size_t size = 12;
    for (long count; (count = reader.read(record.data(), size)) > 0;) {
      seen.append(record.data(), static_cast<std::size_t>(count));
      mark();
      size = size * 7 % record.size() + 1;
    }
  }
  return seen + "error: " + reader.errorText();
}

TEST(ReadAheadTest, ReadsErrorsAndPositionsAsWithoutTheThread) {
  const std::string text = manyLines(900000);
  const std::string longLine = manyLines(1000) + std::string(300000, '7') + "\n" + manyLines(1000);
  std::vector<Codec> codecs = builtInCodecs();
  codecs.push_back(Codec::plain);
  for (Codec codec : codecs) {
    const std::string packed = compress(codec, text);
    std::string damaged = packed;
    for (std::size_t i = packed.size() / 2; i < packed.size() / 2 + 64; ++i) damaged[i] ^= 0x55;
    const std::string inputs[] = {
        packed,
        compress(codec, ""),
        compress(codec, longLine),
        packed + compress(codec, "1 2\n"),
        packed.substr(0, packed.size() / 2),
        packed.substr(0, packed.size() - 1),
        damaged,
        packed + "text after the data\n",
    };
    for (const std::string& input : inputs) {
      TempFiles files;
      const std::string path = files.write(input);
      for (ReadPattern pattern : {ReadPattern::lines, ReadPattern::records}) {
        EXPECT_TRUE(trace(path, true, pattern) == trace(path, false, pattern))
            << codecName(codec) << " input of " << input.size() << " bytes, "
            << (pattern == ReadPattern::lines ? "lines" : "records");
      }
    }
  }
}

// A reader that stops early closes the stream while the thread waits for room, or for a pipe
// that sends nothing more; closing returns at once, and the stream opens again as new.
TEST(ReadAheadTest, ClosingStopsTheThreadAtOnce) {
  const std::string text = manyLines(2000000);
  for (Codec codec : builtInCodecs()) {
    const std::string packed = compress(codec, text);
    TempFiles files;
    const std::string path = files.write(packed);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    // The pipe takes the first half whole, and the writer stays there without closing it.
    const std::size_t half = packed.size() / 2;
    ASSERT_GE(fcntl(ends[1], F_SETPIPE_SZ, 1 << 20), static_cast<int>(half));
    ASSERT_EQ(write(ends[1], packed.data(), half), static_cast<ssize_t>(half));
    InputStream stream;
    stream.setReadAhead(true);
    for (const std::string& source : {path, "/proc/self/fd/" + std::to_string(ends[0])}) {
      LineReader reader(stream);
      ASSERT_TRUE(stream.open(source.c_str()));
      LineReader::Line line;
      for (int i = 0; i < 1000; ++i) ASSERT_TRUE(reader.nextLine(line)) << codecName(codec);
      stream.close();
      EXPECT_EQ(stream.errorNumber(), 0);
    }
    close(ends[0]);
    close(ends[1]);
    ASSERT_TRUE(stream.open(path.c_str()));
    LineReader reader(stream);
    LineReader::Line line;
    std::string again;
    while (reader.nextLine(line)) again.append(line.text, line.length);
    EXPECT_TRUE(again == text) << codecName(codec);
  }
}

}  // namespace
