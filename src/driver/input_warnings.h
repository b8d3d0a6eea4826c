// Warnings after the build about inputs that were most likely read the wrong way: a file given
// a format letter that does not fit what it holds, or AS numbers skipped for want of --as32.
// One line per file at most, on standard error after the build's other messages; they never
// change the graph or the exit status.
#ifndef ZELGRIN_DRIVER_INPUT_WARNINGS_H
#define ZELGRIN_DRIVER_INPUT_WARNINGS_H

#include <cstdio>
#include <string>
#include <vector>

#include "build/build_report.h"
#include "build/input_file.h"

// One text per input entry, empty for none. A file (judged once, at its first entry, whether
// read in one pass or two) gets the first that applies of:
//   "Warning: `F' looks like an MRT file: use --file:m"            (text letter, binary data)
//   "Warning: `F' looks like MRT route text (bgpdump -m): use --file:l"   (text letter, m)
//   "Warning: `F' looks like a relationship file as published (a|b|rel): use --file:r" (v, u)
//   "Warning: `F' looks like a table as today's routers print it (show ip bgp): use --file:t"
//                                                                   (b, B)
//   "Warning: 52593 lines of `F' name AS numbers above 65535 and were skipped: use --as32"
//   "Warning: `F' holds only IPv6 routes (N passed over): use --ipv6 for the IPv6 graph"
//                                  (nothing used; an IPv6 run says the same of IPv4 routes)
// Only regular files are looked at (a pipe cannot be read again), and only their first block;
// the report gives the count, which is said only with `warnWidth` (a 16-bit run without
// --stats, whose lines show the count already).
std::vector<std::string> letterWarnings(const std::vector<InputFile>& inputs,
                                        const BuildReport& report, bool warnWidth,
                                        AddressFamily family = AddressFamily::ipv4);

// Prints the warnings of letterWarnings, each with the banner rule of every warning.
void printWarnings(std::FILE* out, const std::vector<std::string>& warnings);

#endif  // ZELGRIN_DRIVER_INPUT_WARNINGS_H
