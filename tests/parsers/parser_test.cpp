#include "parsers/parser.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <string>
#include <vector>

#include "io/compress.h"
#include "parsers/path_parser.h"
#include "parsers/sat_parser.h"
#include "parsers/temp_files.h"
#include "parsers/unknown_parser.h"
#include "parsers/vantage_parser.h"

namespace {

// The shared line reader with a chosen minimum, and a parseLine doing only the shared checks.
class MinimumParser : public Parser {
 public:
  explicit MinimumParser(std::size_t minimum) : minimum_(minimum) {}
  ParseResult parseLine() override { return beginParse(); }
  NextLineResult nextLine() override { return readLineLongerThan(minimum_); }

 private:
  std::size_t minimum_;
};

// Raw lines and binary reads as a binary format's parser makes them.
class RawParser : public Parser {
 public:
  ParseResult parseLine() override { return beginParse(); }
  NextLineResult nextLine() override { return readRawLine() ? lineReady : noMoreLines; }
  using Parser::lineHasNul;
  using Parser::lineLength;
  using Parser::readBytes;
};

std::vector<std::string> deliveredLines(Parser& parser) {
  std::vector<std::string> lines;
  while (parser.nextLine() == 0) lines.push_back(parser.currentLine());
  return lines;
}

TEST(ParserTest, MinimumLengthCountsTheLineEnd) {
  struct Case {
    std::size_t minimum;
    std::string content;
    std::vector<std::string> lines;
  } cases[] = {
      {4, "1 2\n1 2 1\n", {"1 2 1"}},  // 4 with its line feed: skipped
      {4, "1 21\n", {"1 21"}},         // 5 with its line feed
      {4, "1 21", {}},                 // the same without line end is 4
      {5, "abcd\nabcde\n", {"abcde"}},
      {5, "abc\r\n", {}},
      {5, "abcd\r\n", {"abcd"}},  // the carriage return counts too
      {0, "\n\nx\n", {"", "", "x"}},
      {0, "a\r\nb\rc\n", {"a", "b"}},  // cut at the first CR or LF
      // An embedded NUL ends the text; the line still comes, for parsing to refuse it.
      {0, std::string("\0skip\n2 3\n", 10), {"", "2 3"}},
      {5, std::string("1\0\n", 3), {"1"}},
  };
  for (const Case& c : cases) {
    TempFiles files;
    MinimumParser parser(c.minimum);
    ASSERT_TRUE(parser.openFile(files.write(c.content).c_str()));
    EXPECT_EQ(deliveredLines(parser), c.lines) << "minimum " << c.minimum << ": " << c.content;
    EXPECT_EQ(parser.filePos(), c.content.size());
  }
}

TEST(ParserTest, LastLineWithoutLineEndThenEnd) {
  TempFiles files;
  MinimumParser parser(0);
  ASSERT_TRUE(parser.openFile(files.write("1 2\n3 4").c_str()));
  EXPECT_EQ(parser.fileSize(), 7u);
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_STREQ(parser.currentLine(), "1 2");
  EXPECT_EQ(parser.filePos(), 4u);
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_STREQ(parser.currentLine(), "3 4");
  EXPECT_EQ(parser.readLines(), 2u);
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.readLines(), 2u);
  EXPECT_EQ(parser.filePos(), 7u);
  EXPECT_EQ(parser.readError(), 0);
}

TEST(ParserTest, EmptyFileEndsAtOnce) {
  TempFiles files;
  MinimumParser parser(0);
  ASSERT_TRUE(parser.openFile(files.write("").c_str()));
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.readLines(), 0u);
  EXPECT_STREQ(parser.errReason(), "");
}

TEST(ParserTest, SkippedLinesCountAsRead) {
  TempFiles files;
  MinimumParser parser(4);
  ASSERT_TRUE(parser.openFile(files.write("a\nb\n1 2 3\nc\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.readLines(), 3u);
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.readLines(), 4u);
  EXPECT_STREQ(parser.currentLine(), "");
}

TEST(ParserTest, LongLineIsReadWhole) {
  std::string longLine;
  for (int as = 1; longLine.size() < 3000; ++as) longLine += std::to_string(as % 9 + 1);
  TempFiles files;
  MinimumParser parser(0);
  ASSERT_TRUE(parser.openFile(files.write(longLine + "\nnext\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(std::string(parser.currentLine()), longLine);
  EXPECT_EQ(parser.readLines(), 1u);
  EXPECT_EQ(parser.filePos(), 3001u);
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_STREQ(parser.currentLine(), "next");
  EXPECT_EQ(parser.readLines(), 2u);
}

TEST(ParserTest, LineHoldingANulIsRefusedByEveryParser) {
  // The NUL would silently cut the line: 7018 and its edges would be lost.
  PathParser path;
  SatParser sat;
  VantageParser vantage;
  UnknownParser unknown;
  const struct {
    Parser& parser;
    std::string good;
  } cases[] = {{path, "701 1239"},
               {sat, "701 - 1239 a b c 0"},
               {vantage, "701 1239 1"},
               {unknown, "701 1239"}};
  for (const auto& c : cases) {
    TempFiles files;
    const std::string nul(1, '\0');
    ASSERT_TRUE(c.parser.openFile(files.write(c.good + nul + " 7018\n" + c.good + "\n").c_str()));
    ASSERT_EQ(c.parser.nextLine(), 0) << c.good;
    EXPECT_EQ(c.parser.parseLine(), 3) << c.good;
    EXPECT_STREQ(c.parser.errReason(), "Line contains a NUL byte");
    EXPECT_EQ(c.parser.currentLine(), c.good);
    ASSERT_EQ(c.parser.nextLine(), 0) << c.good;
    EXPECT_EQ(c.parser.parseLine(), 0) << c.parser.errReason();
  }
}

TEST(ParserTest, NothingOpen) {
  MinimumParser parser(0);
  EXPECT_EQ(parser.nextLine(), 2);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
  EXPECT_EQ(parser.parseLine(), 5);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
}

TEST(ParserTest, EmptyLineIsNotParsed) {
  TempFiles files;
  MinimumParser parser(0);
  ASSERT_TRUE(parser.openFile(files.write("\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.parseLine(), 2);
  EXPECT_STREQ(parser.errReason(), "There is no current line to be parsed");
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_STREQ(parser.errReason(), "");  // every nextLine starts afresh
}

TEST(ParserTest, CloseFileResets) {
  TempFiles files;
  VantageParser parser;
  ASSERT_TRUE(parser.openFile(files.write("1 2 1\n1 2 7\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.nextLine(), 0);
  ASSERT_EQ(parser.parseLine(), 3);
  parser.closeFile();
  EXPECT_EQ(parser.readLines(), 0u);
  EXPECT_EQ(parser.filePos(), 0u);
  EXPECT_EQ(parser.fileSize(), 0u);
  EXPECT_STREQ(parser.errReason(), "");
  EXPECT_STREQ(parser.currentLine(), "");
  EXPECT_EQ(parser.nextLine(), 2);
  EXPECT_STREQ(parser.errReason(), "No file has been opened");
  parser.closeFile();  // closing twice is harmless
  // A closed parser opens again from the start.
  ASSERT_TRUE(parser.openFile(files.write("3 4 0\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_EQ(parser.readLines(), 1u);
  EXPECT_STREQ(parser.currentLine(), "3 4 0");
}

TEST(ParserTest, SecondOpenFileIsRefused) {
  TempFiles files;
  std::string first = files.write("1 2\n3 4\n");
  std::string second = files.write("5 6\n");
  UnknownParser parser;
  ASSERT_TRUE(parser.openFile(first.c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_FALSE(parser.openFile(second.c_str()));
  EXPECT_EQ(parser.readLines(), 1u);
  EXPECT_EQ(parser.fileSize(), 8u);
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_STREQ(parser.currentLine(), "3 4");
}

TEST(ParserTest, MissingFileIsNotOpened) {
  TempFiles files;
  MinimumParser parser(0);
  errno = 0;
  EXPECT_FALSE(parser.openFile((files.dir() + "/absent").c_str()));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_STREQ(parser.errReason(), "");
  EXPECT_EQ(parser.nextLine(), 2);
}

TEST(ParserTest, DirectoryIsARecordedReadError) {
  TempFiles files;
  MinimumParser parser(0);
  // Opening a directory for reading succeeds; reading it fails, which must not pass for the end.
  ASSERT_TRUE(parser.openFile(files.dir().c_str()));
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.readError(), EISDIR);
  EXPECT_EQ(parser.nextLine(), 1);
  EXPECT_EQ(parser.readLines(), 0u);
  parser.closeFile();
  EXPECT_EQ(parser.readError(), EISDIR);  // still there for the report after closing
  ASSERT_TRUE(parser.openFile(files.write("1\n").c_str()));
  EXPECT_EQ(parser.readError(), 0);
  EXPECT_EQ(parser.nextLine(), 0);
}

TEST(ParserTest, OpenStdinReplacesAnOpenFileAndIsNotClosed) {
  TempFiles files;
  MinimumParser parser(0);
  int stdinUsable = fcntl(fileno(stdin), F_GETFD) != -1;
  ASSERT_TRUE(parser.openFile(files.write("1 2\n").c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  parser.openStdin();
  EXPECT_EQ(parser.fileSize(), 0u);
  EXPECT_EQ(parser.readLines(), 0u);
  EXPECT_STREQ(parser.currentLine(), "");
  EXPECT_FALSE(parser.openFile(files.write("x\n").c_str()));
  parser.closeFile();
  EXPECT_EQ(fcntl(fileno(stdin), F_GETFD) != -1, stdinUsable);  // standard input stays open
  EXPECT_EQ(parser.nextLine(), 2);
}

// A compressed input gives the lines of the plain one; its position counts compressed bytes,
// so that it ends at the file size.
TEST(ParserTest, CompressedInputReadsLikeThePlainOne) {
  const std::string content = "1 2\n\n3 4\r\n" + manyLines(400000) + "5 6";
  TempFiles files;
  MinimumParser plain(0);
  ASSERT_TRUE(plain.openFile(files.write(content).c_str()));
  const std::vector<std::string> lines = deliveredLines(plain);
  for (Codec codec : builtInCodecs()) {
    const std::string packed = compress(codec, content);
    MinimumParser parser(0);
    ASSERT_TRUE(parser.openFile(files.write(packed).c_str()));
    EXPECT_EQ(parser.fileSize(), packed.size());
    std::vector<std::string> delivered;
    unsigned long long previous = 0;
    while (parser.nextLine() == 0) {
      delivered.push_back(parser.currentLine());
      EXPECT_GE(parser.filePos(), previous);
      EXPECT_LE(parser.filePos(), packed.size());
      previous = parser.filePos();
    }
    EXPECT_TRUE(delivered == lines) << codecName(codec);
    EXPECT_EQ(parser.readLines(), plain.readLines());
    EXPECT_EQ(parser.filePos(), packed.size());
    EXPECT_EQ(parser.readError(), 0);
  }
}

TEST(ParserTest, ReadErrorTextTellsTheCause) {
  TempFiles files;
  std::string packed = compress(Codec::gzip, manyLines(100000));
  struct Case {
    std::string path;
    int error;
    const char* text;
  } cases[] = {
      {files.dir(), EISDIR, "Is a directory"},
      {files.write(packed.substr(0, packed.size() - 3)), EIO,
       "gzip: unexpected end of compressed data"},
      {files.write(std::string("\x1f\x8b\x08\0\0\0\0\0\0\x03garbage\n", 18)), EIO,
       "gzip: compressed data is corrupt"},
  };
  for (const Case& c : cases) {
    if (c.error == EIO && !codecBuiltIn(Codec::gzip)) continue;
    MinimumParser parser(0);
    ASSERT_TRUE(parser.openFile(c.path.c_str()));  // a bad input fails at reading, not opening
    while (parser.nextLine() == 0) {
    }
    EXPECT_EQ(parser.readError(), c.error);
    EXPECT_STREQ(parser.readErrorText(), c.text);
    parser.closeFile();
    EXPECT_STREQ(parser.readErrorText(), c.text);
  }
}

TEST(ParserTest, NulByteInALineIsReportedAndEndsItsText) {
  TempFiles files;
  RawParser parser;
  ASSERT_TRUE(parser.openFile(files.write(std::string("a\0b\nc\n", 6)).c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_TRUE(parser.lineHasNul());
  EXPECT_EQ(parser.lineLength(), 1u);
  EXPECT_EQ(parser.filePos(), 4u);
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_FALSE(parser.lineHasNul());
  EXPECT_STREQ(parser.currentLine(), "c\n");
}

TEST(ParserTest, BinaryReadsCountInThePosition) {
  TempFiles files;
  RawParser parser;
  ASSERT_TRUE(parser.openFile(files.write(std::string("ab\n\0\1\2\3cd\nxy", 12)).c_str()));
  ASSERT_EQ(parser.nextLine(), 0);
  char record[4];
  ASSERT_EQ(parser.readBytes(record, 4), 4);
  EXPECT_EQ(std::string(record, 4), std::string("\0\1\2\3", 4));
  EXPECT_EQ(parser.filePos(), 7u);
  EXPECT_STREQ(parser.currentLine(), "");  // a binary read ends the line
  ASSERT_EQ(parser.nextLine(), 0);
  EXPECT_STREQ(parser.currentLine(), "cd\n");
  EXPECT_EQ(parser.readBytes(record, 4), 2);
  EXPECT_EQ(parser.readBytes(record, 4), 0);
  EXPECT_EQ(parser.filePos(), 12u);
  EXPECT_EQ(parser.readLines(), 2u);
}

}  // namespace

// Read in parts cut anywhere, a file gives each line once, in order, to the part it starts in,
// and positions stay those of the whole file.
TEST(ParserTest, PartsGiveEachLineOnce) {
  const std::string text = "1 2\n\n30 40\r\n5 6 7\n8";
  TempFiles files;
  const std::string path = files.write(text);
  MinimumParser whole(0);
  ASSERT_TRUE(whole.openFile(path.c_str()));
  const std::vector<std::string> all = deliveredLines(whole);
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    std::vector<std::string> lines;
    unsigned long read = 0;
    for (const auto& part : {std::make_pair(0ull, cut + 0ull), {cut + 0ull, ~0ull}}) {
      MinimumParser parser(0);
      ASSERT_TRUE(parser.openFile(path.c_str()));
      ASSERT_TRUE(parser.readOnlyPart(part.first, part.second));
      for (const std::string& line : deliveredLines(parser)) lines.push_back(line);
      read += parser.readLines();
      if (part.second == ~0ull) {
        EXPECT_EQ(parser.filePos(), text.size()) << cut;
      }
    }
    EXPECT_EQ(lines, all) << "cut at " << cut;
    EXPECT_EQ(read, 5u) << "cut at " << cut;
  }
}
