#include "parsers/parser.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const char kNoFile[] = "No file has been opened";
const std::size_t kInitialLineCapacity = 1024;

}  // namespace

Parser::Parser() {
  line_ = static_cast<char*>(std::malloc(kInitialLineCapacity));
  if (line_ != nullptr) {
    lineCap_ = kInitialLineCapacity;
    line_[0] = '\0';
  }
}

Parser::~Parser() {
  closeFile();
  std::free(line_);
}

void Parser::resetForOpen() {
  parsedLines_ = 0;
  readLines_ = 0;
  filePos_ = 0;
  fileSize_ = 0;
  readError_ = 0;
  tableState_ = false;
  for (std::size_t& column : columnPos_) column = 0;
  emptyLine();
  lineHasNul_ = false;
  reason_.clear();
}

bool Parser::openFile(const char* path) {
  if (stream_ != nullptr) return false;
  resetForOpen();
  std::FILE* stream = std::fopen(path, "r");
  if (stream == nullptr) return false;  // errno tells the caller why
  stream_ = stream;
  struct stat status;
  if (fstat(fileno(stream), &status) == 0 && status.st_size > 0)
    fileSize_ = static_cast<unsigned long long>(status.st_size);
  return true;
}

void Parser::openStdin() {
  // A file left open would otherwise leak its stream.
  if (stream_ != nullptr && stream_ != stdin) std::fclose(stream_);
  resetForOpen();
  stream_ = stdin;
}

void Parser::closeFile() {
  if (stream_ == nullptr) return;
  if (stream_ != stdin) std::fclose(stream_);
  stream_ = nullptr;
  emptyLine();
  reason_.clear();
  fileSize_ = 0;
  filePos_ = 0;
  parsedLines_ = 0;
  readLines_ = 0;
}

const char* Parser::currentLine() {
  lineCopy_.assign(line(), lineLen_);
  return lineCopy_.c_str();
}

bool Parser::streamDone() const {
  return stream_ == nullptr || std::feof(stream_) != 0 || std::ferror(stream_) != 0 ||
         readError_ != 0;
}

bool Parser::readRawLine() {
  if (stream_ == nullptr) return false;
  errno = 0;
  ssize_t count = getline(&line_, &lineCap_, stream_);
  if (count < 0) {
    // Anything but a plain end of file is a read error (a directory, a failing disk, no memory
    // for a huge line); graph construction must not mistake it for the end of the input.
    if (std::feof(stream_) == 0 || std::ferror(stream_) != 0) {
      if (readError_ == 0) readError_ = errno != 0 ? errno : EIO;
    }
    emptyLine();
    lineHasNul_ = false;
    return false;
  }
  ++readLines_;
  filePos_ += static_cast<unsigned long long>(count);
  // The line is a C string: an embedded NUL ends its text, and marks the line as unusable.
  lineLen_ = strnlen(line_, static_cast<std::size_t>(count));
  lineHasNul_ = lineLen_ < static_cast<std::size_t>(count);
  return true;
}

int Parser::readLineLongerThan(std::size_t minimum) {
  reason_.clear();
  if (stream_ == nullptr) {
    reason_.assign(kNoFile);
    return noFileOpen;
  }
  if (std::feof(stream_) != 0) return noMoreLines;
  while (!streamDone()) {
    // A line holding a NUL byte is delivered whatever its length, for parsing to refuse it.
    if (readRawLine() && (lineLen_ > minimum || lineHasNul_)) {
      cutLineEnd();
      return lineReady;
    }
  }
  emptyLine();
  return noMoreLines;
}

int Parser::beginParse() {
  reason_.clear();
  if (stream_ == nullptr) {
    reason_.assign(kNoFile);
    return parseNoFile;
  }
  if (lineHasNul_) {
    reason_.assign("Line contains a NUL byte");
    return parseBadValue;
  }
  if (lineLen_ == 0) {
    reason_.assign("There is no current line to be parsed");
    return parseEmptyLine;
  }
  return parseOk;
}

void Parser::truncateLine(std::size_t length) {
  if (line_ == nullptr) {
    lineLen_ = 0;
    return;
  }
  if (length < lineLen_ || length == 0) {
    line_[length] = '\0';
    lineLen_ = length;
  }
}

void Parser::cutLineEnd() {
  if (line_ == nullptr) return;
  truncateLine(std::strcspn(line_, "\r\n"));
}

void Parser::setQuotedReason(const char* text, const char* quoted, std::size_t quotedLength) {
  reason_.assign(text);
  reason_.append(quoted, quotedLength);
  reason_.push_back('\'');
}

void Parser::setQuotedReason(const char* text, const char* quoted) {
  setQuotedReason(text, quoted, std::strlen(quoted));
}

void Parser::setNumberReason(const char* text, long long number) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%lld'", number);
  reason_.assign(text);
  reason_.append(digits);
}
