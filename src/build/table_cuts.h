// Where a merge of router table dumps may be cut into ranges of addresses: at a few addresses,
// each dump at the first route line whose network starts there or above, so that threads can
// merge the ranges apart, each taking the next range not yet taken. Tables list their routes
// in ascending order of network, by which the cuts are found, but nothing relies on it: the
// merge of each range checks that every route it takes lies in it (see dump_merge.cpp).
#ifndef ZELGRIN_BUILD_TABLE_CUTS_H
#define ZELGRIN_BUILD_TABLE_CUTS_H

#include <cstdint>
#include <optional>
#include <vector>

#include "build/input_file.h"
#include "parsers/bgp_parser.h"

struct TableCuts {
  // The first address of each range but the first, ascending: range i runs from boundary i - 1
  // (or 0) to boundary i (or the end of the address space).
  std::vector<std::uint32_t> boundaries;
  // Per boundary, per dump: where the range from that boundary starts.
  std::vector<std::vector<unsigned long long>> at;
  // Per dump: the columns of the table its later ranges continue.
  std::vector<BgpParser::Columns> columns;

  std::size_t ranges() const { return boundaries.size() + 1; }
};

// The cuts of `dumps`, every one a router table dump in a plain regular file, into a range for
// every `rangeBytes` bytes of all dumps together, at most `mostRanges`, ranges that grow shorter
// toward the end of the addresses; nothing when the dumps make less than two ranges' worth, or
// when no address parts them.
std::optional<TableCuts> cutTables(const std::vector<const InputFile*>& dumps,
                                   unsigned long long rangeBytes, std::size_t mostRanges);

#endif  // ZELGRIN_BUILD_TABLE_CUTS_H
