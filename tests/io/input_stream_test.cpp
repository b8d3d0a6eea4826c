#include "io/input_stream.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "io/compress.h"
#include "parsers/temp_files.h"

namespace {

// Everything the stream hands out, read in pieces of changing size; `failed` tells whether
// it ended with an error rather than a clean end.
std::string readAll(InputStream& stream, bool& failed) {
  std::string text;
  char piece[70000];
  std::size_t size = 1;
  for (;;) {
    long count = stream.read(piece, size);
    if (count <= 0) {
      failed = count < 0;
      return text;
    }
    text.append(piece, static_cast<std::size_t>(count));
    size = size * 7 % sizeof piece + 1;
  }
}

TEST(InputStreamTest, EachFormatDecodesToTheText) {
  const std::string texts[] = {"", "1 2\n3 4", std::string("BZh\0\x1f", 5), manyLines(1200000)};
  std::vector<Codec> codecs = builtInCodecs();
  codecs.push_back(Codec::plain);
  for (Codec codec : codecs) {
    for (const std::string& text : texts) {
      TempFiles files;
      std::string packed = compress(codec, text);
      InputStream stream;
      ASSERT_TRUE(stream.open(files.write(packed).c_str()));
      EXPECT_EQ(stream.rawSize(), packed.size());
      bool failed = true;
      EXPECT_TRUE(readAll(stream, failed) == text) << codecName(codec) << " " << text.size();
      EXPECT_FALSE(failed) << stream.errorText();
      EXPECT_EQ(stream.codec(), codec);
      EXPECT_EQ(stream.rawPosition(), packed.size());  // every stored byte taken at the end
    }
  }
}

// Streams written one after another read as one text; xz streams may have their padding
// (zero bytes in fours) between and after them. Any other byte after the last complete stream,
// for every format alike, fails the read at that byte: nothing is dropped without a word.
TEST(InputStreamTest, ConcatenatedStreamsAndTrailingBytes) {
  const std::string a = "1 2\n", b = manyLines(300000);
  for (Codec codec : builtInCodecs()) {
    const std::string first = compress(codec, a), second = compress(codec, b);
    std::string damagedSecond = second;
    damagedSecond[0] ^= 1;
    const bool xz = codec == Codec::xz;
    const std::size_t none = std::string::npos;
    struct Case {
      std::string input;
      std::size_t trailingAt;  // npos: reads cleanly
    } cases[] = {
        {first + second, none},
        {first + std::string(1000, '\0'), xz ? none : first.size()},
        {first + second + std::string(1001, '\0'), first.size() + second.size() + (xz ? 1000 : 0)},
        {first + std::string(8, '\0') + "garbage\n", first.size() + (xz ? 8 : 0)},
        {first + "\x1f", first.size()},
        {first + "BZh", first.size()},
        {first + damagedSecond, first.size()},
    };
    for (const Case& c : cases) {
      TempFiles files;
      InputStream stream;
      ASSERT_TRUE(stream.open(files.write(c.input).c_str()));
      bool failed = false;
      std::string text = readAll(stream, failed);
      EXPECT_EQ(failed, c.trailingAt != none) << codecName(codec) << " " << c.input.size();
      if (c.trailingAt == none) {
        EXPECT_TRUE(text == (c.input.size() > first.size() + 1000 ? a + b : a));
        EXPECT_EQ(stream.rawPosition(), c.input.size());
      } else {
        EXPECT_EQ(stream.errorText(), std::string(codecTexts(codec).trailing) + " at byte " +
                                          std::to_string(c.trailingAt));
      }
    }
  }
}

TEST(InputStreamTest, CutOrDamagedDataFailsWithTheDecodersReason) {
  const std::string text = manyLines(400000);
  for (Codec codec : builtInCodecs()) {
    const std::string packed = compress(codec, text);
    std::string damaged = packed;
    for (std::size_t i = packed.size() / 2; i < packed.size() / 2 + 64; ++i) damaged[i] ^= 0x55;
    struct Case {
      std::string input;
      const char* reason;
    } cases[] = {
        {packed.substr(0, packed.size() / 2), codecTexts(codec).truncated},
        {packed.substr(0, packed.size() - 1), codecTexts(codec).truncated},
        {packed.substr(0, 12), codecTexts(codec).truncated},
        {damaged, codecTexts(codec).corrupt},
    };
    for (const Case& c : cases) {
      TempFiles files;
      InputStream stream;
      ASSERT_TRUE(stream.open(files.write(c.input).c_str()));
      bool failed = false;
      std::string decoded = readAll(stream, failed);
      EXPECT_TRUE(failed) << codecName(codec) << " " << c.input.size();
      EXPECT_STREQ(stream.errorText(), c.reason) << codecName(codec) << " " << c.input.size();
      EXPECT_EQ(stream.errorNumber(), EIO);
      EXPECT_LT(stream.read(&decoded[0], 1), 0);  // the error stays
    }
  }
}

TEST(InputStreamTest, MissingFileSetsErrnoAndDirectoryFailsAtRead) {
  TempFiles files;
  InputStream stream;
  errno = 0;
  EXPECT_FALSE(stream.open((files.dir() + "/absent").c_str()));
  EXPECT_EQ(errno, ENOENT);
  ASSERT_TRUE(stream.open(files.dir().c_str()));
  char byte;
  EXPECT_LT(stream.read(&byte, 1), 0);
  EXPECT_EQ(stream.errorNumber(), EISDIR);
  EXPECT_STREQ(stream.errorText(), "Is a directory");
  stream.close();
  EXPECT_EQ(stream.errorNumber(), EISDIR);  // kept for the report after closing
}

// A pipe hands out its bytes a few at a time; the format is still recognised from the first
// ones, and none of them is lost.
TEST(InputStreamTest, PipeDeliveringBytesOneByOne) {
  const std::string text = manyLines(100000);
  std::string inputs[] = {text, compress(Codec::gzip, text), compress(Codec::xz, text)};
  for (const std::string& input : inputs) {
    if (input.empty()) continue;
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::thread writer([&input, &ends] {
      for (std::size_t i = 0; i < input.size();) {
        std::size_t size = i < 16 ? 1 : input.size() - i;
        ssize_t written = write(ends[1], input.data() + i, size);
        if (written <= 0) break;
        i += static_cast<std::size_t>(written);
      }
      close(ends[1]);
    });
    InputStream stream;
    ASSERT_TRUE(stream.open(("/proc/self/fd/" + std::to_string(ends[0])).c_str()));
    EXPECT_EQ(stream.rawSize(), 0u);
    bool failed = true;
    EXPECT_TRUE(readAll(stream, failed) == text);
    EXPECT_FALSE(failed);
    writer.join();
    stream.close();
    close(ends[0]);
  }
}

}  // namespace
