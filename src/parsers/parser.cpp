#include "parsers/parser.h"

#include <cerrno>
#include <cstring>

#include "io/codec.h"

namespace {

const char kNoFile[] = "No file has been opened";

}  // namespace

Parser::Parser() = default;

Parser::~Parser() { closeFile(); }

void Parser::dropLine() {
  noLine_[0] = '\0';
  line_ = noLine_;
  lineLen_ = 0;
  lineHasNul_ = false;
  linePlain_ = false;
}

void Parser::restoreLine(std::string& saved) {
  line_ = saved.data();
  lineLen_ = saved.size();
  lineHasNul_ = false;
  linePlain_ = false;
}

void Parser::resetForOpen() {
  recordText_.clear();
  openedPath_.clear();
  parsedLines_ = 0;
  readLines_ = 0;
  filePos_ = 0;
  lineStart_ = 0;
  partEnd_ = ~0ull;
  fileSize_ = 0;
  readError_ = 0;
  readErrorText_.clear();
  dropLine();
  reason_.clear();
}

bool Parser::openFile(const char* path) {
  if (isOpen()) return false;
  resetForOpen();
  if (!input_.open(path)) return false;  // errno tells the caller why
  openedPath_ = path;
  reader_.reset();
  fileSize_ = input_.rawSize();
  return true;
}

void Parser::openStdin() {
  // A file left open is closed first; standard input itself never is.
  resetForOpen();
  input_.openStdin();
  reader_.reset();
}

void Parser::closeFile() {
  if (!isOpen()) return;
  input_.close();
  reader_.reset();
  dropLine();
  reason_.clear();
  fileSize_ = 0;
  filePos_ = 0;
  parsedLines_ = 0;
  readLines_ = 0;
}

const char* Parser::currentLine() {
  if (!recordText_.empty()) return recordText_.c_str();
  lineCopy_.assign(line(), lineLen_);
  return lineCopy_.c_str();
}

bool Parser::streamDone() const {
  return !isOpen() || reader_.atEnd() || reader_.failed() || readError_ != 0 ||
         filePos_ >= partEnd_;
}

void Parser::recordReadError() {
  // Anything but a plain end is a read error (a directory, a failing disk, corrupt compressed
  // data); graph construction must not mistake it for the end of the input.
  if (!reader_.failed() || readError_ != 0) return;
  readError_ = reader_.errorNumber();
  readErrorText_.assign(reader_.errorText());
}

void Parser::failReading(const char* text) {
  if (readError_ != 0) return;
  readError_ = EIO;
  readErrorText_.assign(text);
}

void Parser::updatePosition(std::size_t bytesRead) {
  if (input_.codec() == Codec::plain)
    filePos_ += bytesRead;
  else
    filePos_ = input_.rawPosition();
}

bool Parser::readOnlyPart(unsigned long long begin, unsigned long long end) {
  partEnd_ = end;
  // Every part reads the file as plain, the first too, whatever its start holds by then.
  if (begin == 0) return input_.seekPlain(0);
  if (!input_.seekPlain(begin - 1)) return false;
  reader_.reset(begin - 1);
  filePos_ = begin - 1;
  // The line the byte before `begin` ends or lies in belongs to the part before.
  LineReader::Line before;
  if (reader_.nextLine(before)) filePos_ += before.length;
  return true;
}

bool Parser::readRawLine() {
  if (!isOpen()) return false;
  if (filePos_ >= partEnd_) {
    dropLine();
    return false;
  }
  LineReader::Line raw;
  if (!reader_.nextLine(raw)) {
    recordReadError();
    // A compressed input has taken its last bytes now: the progress ends at the file size.
    updatePosition(0);
    dropLine();
    return false;
  }
  ++readLines_;
  lineStart_ = filePos_;
  updatePosition(raw.length);
  line_ = raw.text;
  // The line is a C string: an embedded NUL ends its text.
  lineLen_ = raw.plain ? raw.length : strnlen(raw.text, raw.length);
  lineHasNul_ = lineLen_ < raw.length;
  linePlain_ = raw.plain;
  return true;
}

long Parser::readBytes(void* out, std::size_t n) {
  if (!isOpen()) return -1;
  // The bytes read may overwrite the buffer the line lies in.
  dropLine();
  long count = reader_.read(out, n);
  if (count < 0) {
    recordReadError();
    return count;
  }
  updatePosition(static_cast<std::size_t>(count));
  return count;
}

Parser::NextLineResult Parser::readLineLongerThan(std::size_t minimum) {
  reason_.clear();
  if (!isOpen()) {
    reason_.assign(kNoFile);
    return noFileOpen;
  }
  if (atEof()) return noMoreLines;
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

Parser::ParseResult Parser::beginParse() {
  reason_.clear();
  refusedForWidth_ = false;
  if (!isOpen()) {
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
  if (length < lineLen_ || length == 0) {
    line_[length] = '\0';
    lineLen_ = length;
  }
}

void Parser::cutLineEnd() {
  if (linePlain_) {
    // No carriage return in the line: its one line feed, if any, ends it.
    if (lineLen_ > 0 && line_[lineLen_ - 1] == '\n') truncateLine(lineLen_ - 1);
    return;
  }
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
