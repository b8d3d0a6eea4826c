// The --stats report as one JSON object on one line, for scripts:
//   {"files": [{"name": "paths.txt", "letters": "pnec", "read": 5599, "used": 5540,
//               "skipped": {"Invalid AS number": 38, ...}, "applied": 5100}, ...],
//    "graph": {"nodes": 245, "edges": 612, "oriented": 0, "path_covering": 598,
//              "ip_covering": 0}}
// One member of "files" per reading, in reading order: a file read in both passes has two, the
// second with "ip_covering": true. read = used + the sum of skipped always; "applied" (used
// records that reached an edge of the graph) only for readings of directions or IP covering.
// "letters" is the format letter followed by the contents, as in --file:. Names and reasons are
// JSON strings: quotes, backslashes and control bytes escaped, well-formed UTF-8 kept, and each
// byte of what is not UTF-8 written as the code point of the same value (\u0080 to \u00ff), so
// that a script gets the bytes back by encoding those characters as Latin-1.
#ifndef ZELGRIN_DRIVER_STATISTICS_JSON_H
#define ZELGRIN_DRIVER_STATISTICS_JSON_H

#include <cstdio>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "build/build_report.h"
#include "build/input_file.h"

// Prints the object followed by a line end.
void printStatisticsJson(std::FILE* out, const std::vector<InputFile>& inputs,
                         const BuildReport* report, ASGraph& graph);

// `text` as a JSON string, quotes included, escaped as above.
std::string jsonString(const std::string& text);

#endif  // ZELGRIN_DRIVER_STATISTICS_JSON_H
