// Where a merge of router table dumps may be cut in two: at one address, each dump at the first
// route line whose network starts there or above, so that one thread merges the routes below the
// address and another those above it. Tables list their routes in ascending order of network,
// by which the cuts are found, but nothing relies on it: the merge of each half checks that
// every route it takes lies on its side (see dump_merge.cpp).
#ifndef ZELGRIN_BUILD_TABLE_CUTS_H
#define ZELGRIN_BUILD_TABLE_CUTS_H

#include <cstdint>
#include <optional>
#include <vector>

#include "build/input_file.h"
#include "parsers/bgp_parser.h"

struct TableCuts {
  std::uint32_t boundary = 0;  // the first address of the upper half
  // Per dump: where its upper half starts, and the columns of the table the half continues.
  std::vector<unsigned long long> at;
  std::vector<BgpParser::Columns> columns;
};

// The cuts of `dumps`, every one a router table dump in a plain regular file, together at least
// `minBytes` long; nothing otherwise, or when no address parts them.
std::optional<TableCuts> cutTables(const std::vector<const InputFile*>& dumps,
                                   unsigned long long minBytes);

#endif  // ZELGRIN_BUILD_TABLE_CUTS_H
