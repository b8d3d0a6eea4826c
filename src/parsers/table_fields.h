// Where the numbers of a router table route end and its AS path begins. Metric and local
// preference may be blank, and a path is numbers too, so the words alone do not tell: "5 5 1000
// 1000 i" may be a weight of 5 and the path 5 1000 1000, or metric, weight and path 1000 1000.
// The header does. Every platform prints the weight, right-aligned under its caption (Arista:
// left-aligned), with the path one blank after it; a value wider than its column pushes the rest
// of the line right. So each leading number is tried as the weight: it fixes how far the line
// is pushed at that point, the path must start that far right of its caption, and the numbers
// before it must sit under Metric and LocPrf pushed no further. The best fit whose path reads
// wins. A capture that lost its runs of blanks is read by its words: the weight is the last of
// the leading numbers that is 0 or 32768, the values routers give it unless configured.
#ifndef ZELGRIN_PARSERS_TABLE_FIELDS_H
#define ZELGRIN_PARSERS_TABLE_FIELDS_H

#include <cstddef>
#include <vector>

#include "parsers/table_header.h"
#include "parsers/table_path.h"
#include "parsers/table_tokens.h"

enum class TableColumn { metric, locPrf, weight };

struct TableFieldSplit {
  enum class Outcome {
    found,          // the path reader holds the path that follows the fields
    pathMalformed,  // every way of splitting left a path that does not read; see the reader
    noSplit,        // nothing could be the weight
  };
  Outcome outcome = Outcome::noSplit;
  // Number of field words before the path, and the column each of them fills.
  std::size_t count = 0;
  TableColumn columns[3] = {TableColumn::metric, TableColumn::locPrf, TableColumn::weight};
};

// Splits tokens[first, ...) of `text`, the words after the next hop (and after From), into
// fields and path, reading the path with `paths`. `lineShift` is how far right of its caption
// the route's next hop starts on this line (0 when these words stand on a line of their own).
TableFieldSplit splitTableFields(const TableHeader& header, const char* text,
                                 const std::vector<TableToken>& tokens, std::size_t first,
                                 long lineShift, TablePathReader& paths);

#endif  // ZELGRIN_PARSERS_TABLE_FIELDS_H
