#include "parsers/table_fields.h"

#include <algorithm>

namespace {

// A column's offset counts ten times a step of the line's push, so that a better-placed path
// or field always beats a smaller push.
const long kPlacementWeight = 10;

struct Candidate {
  long score = 0;
  std::size_t weightIndex = 0;  // among the words after the next hop
  TableColumn before[2] = {TableColumn::metric, TableColumn::locPrf};
};

long distance(long a, long b) { return a > b ? a - b : b - a; }

// How far right of its caption a word stands: by its first letter when numbers are
// left-aligned, by its last one otherwise.
long offset(const TableHeader& header, const TableToken& token,
            const TableHeader::Caption& caption) {
  if (header.leftAligned())
    return static_cast<long>(token.start) - static_cast<long>(caption.first);
  return static_cast<long>(token.end) - 1 - static_cast<long>(caption.last);
}

class Splitter {
 public:
  Splitter(const TableHeader& header, const char* text, const std::vector<TableToken>& tokens,
           std::size_t first, TablePathReader& paths)
      : header_(header), text_(text), tokens_(tokens), first_(first), paths_(paths) {
    if (header.metric().present) columnsBefore_[beforeCount_++] = TableColumn::metric;
    if (header.locPrf().present) columnsBefore_[beforeCount_++] = TableColumn::locPrf;
    while (first_ + leading_ < tokens_.size() && leading_ < beforeCount_ + 1 &&
           isFieldToken(text_, tokens_[first_ + leading_])) {
      ++leading_;
    }
  }

  TableFieldSplit split(long lineShift) {
    if (!header_.weight().present) return accept(nullptr, 0);
    if (!header_.collapsed()) {
      // The next hop's place says how far the line was pushed before the numbers, but hand-
      // edited captures move words: the numbers are also tried as if nothing pushed them.
      std::size_t count = placeCandidates(lineShift, 0);
      if (lineShift != 0) count = placeCandidates(0, count);
      sortCandidates(count);
      if (count > 0) return bestReadable(count);
    }
    return byWords();
  }

 private:
  const TableHeader::Caption& caption(TableColumn column) const {
    if (column == TableColumn::metric) return header_.metric();
    if (column == TableColumn::locPrf) return header_.locPrf();
    return header_.weight();
  }

  static bool before(const Candidate& a, const Candidate& b) {
    return a.score < b.score || (a.score == b.score && a.weightIndex > b.weightIndex);
  }

  // Adds the candidates for a line pushed `lineShift` columns at its next hop after the
  // `count` already placed; returns the new count.
  std::size_t placeCandidates(long lineShift, std::size_t count) {
    for (std::size_t w = 0; w < leading_; ++w) {
      Candidate candidate;
      if (place(w, lineShift, candidate)) candidates_[count++] = candidate;
    }
    return count;
  }

  // At most six: an insertion sort, better placed first, then more fields first.
  void sortCandidates(std::size_t count) {
    for (std::size_t i = 1; i < count; ++i) {
      for (std::size_t j = i; j > 0 && before(candidates_[j], candidates_[j - 1]); --j) {
        const Candidate swapped = candidates_[j];
        candidates_[j] = candidates_[j - 1];
        candidates_[j - 1] = swapped;
      }
    }
  }

  // Scores the word `w` as the weight; false when it cannot be.
  bool place(std::size_t w, long lineShift, Candidate& candidate) const {
    if (w > beforeCount_) return false;
    const TableToken& weight = tokens_[first_ + w];
    const long push = offset(header_, weight, header_.weight());
    // Values only ever push the line further right; one column of slack for captures whose
    // numbers stand a column left of the next hop's place.
    if (push < lineShift - 1) return false;
    candidate.weightIndex = w;
    candidate.score = distance(push, lineShift);
    if (first_ + w + 1 < tokens_.size()) {
      const long pathStart = static_cast<long>(header_.path()) + push;
      candidate.score +=
          kPlacementWeight * distance(static_cast<long>(tokens_[first_ + w + 1].start), pathStart);
    }
    // The numbers before the weight fill Metric and LocPrf in order; with one number and both
    // columns, it goes where it fits better.
    long best = -1;
    for (std::size_t skip = 0; skip + w <= beforeCount_ && (skip == 0 || w > 0); ++skip) {
      long cost = 0;
      for (std::size_t i = 0; i < w; ++i) {
        const long at = offset(header_, tokens_[first_ + i], caption(columnsBefore_[i + skip]));
        if (at < lineShift - 1 || at > push + 1) {
          cost += std::min(distance(at, lineShift), distance(at, push));
        }
      }
      if (best < 0 || cost < best) {
        best = cost;
        for (std::size_t i = 0; i < w; ++i) candidate.before[i] = columnsBefore_[i + skip];
      }
    }
    candidate.score += kPlacementWeight * best;
    return true;
  }

  TableFieldSplit bestReadable(std::size_t count) {
    for (std::size_t c = 0; c < count; ++c) {
      const Candidate& candidate = candidates_[c];
      if (paths_.read(text_, tokens_, first_ + candidate.weightIndex + 1) !=
          TablePathReader::Result::malformed) {
        return accept(candidate.before, candidate.weightIndex + 1);
      }
    }
    // Leave the reason of the best placed split in the path reader.
    paths_.read(text_, tokens_, first_ + candidates_[0].weightIndex + 1);
    TableFieldSplit split;
    split.outcome = TableFieldSplit::Outcome::pathMalformed;
    return split;
  }

  TableFieldSplit byWords() {
    std::size_t weightIndex = leading_;
    for (std::size_t w = 0; w < leading_ && w <= beforeCount_; ++w) {
      if (tokenIs(text_, tokens_[first_ + w], "0") ||
          tokenIs(text_, tokens_[first_ + w], "32768")) {
        weightIndex = w;
      }
    }
    TableFieldSplit split;
    if (weightIndex == leading_) return split;
    if (paths_.read(text_, tokens_, first_ + weightIndex + 1) ==
        TablePathReader::Result::malformed) {
      split.outcome = TableFieldSplit::Outcome::pathMalformed;
      return split;
    }
    return accept(columnsBefore_, weightIndex + 1);
  }

  // The split with `count` field words, the last of them the weight when there are any.
  TableFieldSplit accept(const TableColumn* before, std::size_t count) {
    TableFieldSplit split;
    if (count == 0 && paths_.read(text_, tokens_, first_) == TablePathReader::Result::malformed) {
      split.outcome = TableFieldSplit::Outcome::pathMalformed;
      return split;
    }
    split.outcome = TableFieldSplit::Outcome::found;
    split.count = count;
    for (std::size_t i = 0; i + 1 < count; ++i) split.columns[i] = before[i];
    if (count > 0) split.columns[count - 1] = TableColumn::weight;
    return split;
  }

  const TableHeader& header_;
  const char* text_;
  const std::vector<TableToken>& tokens_;
  std::size_t first_;
  TablePathReader& paths_;
  TableColumn columnsBefore_[2] = {TableColumn::metric, TableColumn::locPrf};
  std::size_t beforeCount_ = 0;
  std::size_t leading_ = 0;
  Candidate candidates_[6];
};

}  // namespace

TableFieldSplit splitTableFields(const TableHeader& header, const char* text,
                                 const std::vector<TableToken>& tokens, std::size_t first,
                                 long lineShift, TablePathReader& paths) {
  Splitter splitter(header, text, tokens, first, paths);
  return splitter.split(lineShift);
}
