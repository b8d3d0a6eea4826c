// The AS graph's own record: source files, comment and the differential flag. Its graph file is
// read and written by graph_file.cpp.
#include "asgraph/as_graph.h"

#include <cstring>

#include "asgraph/graph_file.h"

const char* const ASGraph::graphMarker = "VGR";
const char* const ASGraph::diffGraphMarker = "VDG";
const char* const ASGraph::ipv6GraphMarker = "VGR6";

namespace {

const unsigned kCommentLength = 512;

char* copyText(const char* text) {
  size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

}  // namespace

ASGraph::ASGraph() : differential(false) { comment[0] = '\0'; }

ASGraph::~ASGraph() { clearSourceFiles(); }

char* ASGraph::errReason() { return &reason[0]; }

List<char*>& ASGraph::getSourceFiles() { return sourceFiles; }

void ASGraph::clearSourceFiles() {
  while (!sourceFiles.isEmpty()) delete[] sourceFiles.pop();
}

void ASGraph::setSourceFiles(char* const* files, bool reset) {
  if (reset) clearSourceFiles();
  for (int i = 0; i < 100; ++i) {
    if (files[i] != nullptr) sourceFiles.enqueue(copyText(files[i]));
  }
}

void ASGraph::setSourceFiles(List<char*>& files, bool reset) {
  // Our own list as the source: emptying it first would lose the names, and walking it while
  // appending would never end. Reset keeps it as it is; otherwise each name is repeated once.
  if (&files == &sourceFiles) {
    if (reset) return;
  } else if (reset) {
    clearSourceFiles();
  }
  unsigned long long count = files.len();
  files.goToFirst();
  for (unsigned long long i = 0; i < count; ++i) {
    sourceFiles.enqueue(copyText(files.current()));
    files.next();
  }
}

char* ASGraph::getComment() { return comment; }

void ASGraph::setComment(const char* text) {
  size_t length = text == nullptr ? 0 : std::strlen(text);
  if (length > kCommentLength) length = kCommentLength;
  if (length > 0) std::memcpy(comment, text, length);
  comment[length] = '\0';
}

bool& ASGraph::isDifferential() { return differential; }

int ASGraph::dirToVal(EdgeDir direction) {
  switch (direction) {
    case backward:
      return -1;
    case forward:
      return 1;
    default:
      return 0;
  }
}

EdgeDir ASGraph::valToDir(int value) {
  if (value == -1) return backward;
  if (value == 1) return forward;
  return undirected;
}

ASEdgeComparison ASGraph::comparison(const edge& seen) const {
  if (seen.number() >= comparisons.size()) return ASEdgeComparison();
  const ASEdgeComparison& stored = comparisons[seen.number()];
  return seen.from().key > seen.to().key ? stored.reversed() : stored;
}

void ASGraph::setComparison(const edge& seen, const ASEdgeComparison& fields) {
  if (seen.number() >= comparisons.size()) comparisons.resize(seen.number() + std::size_t(1));
  comparisons[seen.number()] = seen.from().key > seen.to().key ? fields.reversed() : fields;
}

void ASGraph::addSourceFile(const char* name) { sourceFiles.enqueue(copyText(name)); }

bool ASGraph::writeToFile(FILE* out) { return writeGraphFile(*this, out, reason); }

bool ASGraph::readFromFile(FILE* in, ASWidth width, AcceptedGraphs accepted) {
  StreamLineSource lines(in);
  return readGraphFile(lines, *this, reason, width, accepted);
}
