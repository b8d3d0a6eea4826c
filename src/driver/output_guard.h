// Protects an existing file from becoming the output by mistake. The output named by the bare
// argument after the files is easily a file meant as an input (two names after one --file:),
// so such a name may only replace a graph file or an empty file; -o says the user means it.
#ifndef ZELGRIN_DRIVER_OUTPUT_GUARD_H
#define ZELGRIN_DRIVER_OUTPUT_GUARD_H

#include <string>

// True when `block`, the first bytes of a file, begin with a graph file's type line ("VGR",
// "VGR6" or "VDG" alone on the first line).
bool startsAsGraphFile(const std::string& block);

// True when the existing regular file `name` is not empty and does not start as a graph file
// (looked at decompressed), so a bare output name must not replace it. False for a name that
// is no regular file or cannot be read: those are left to the usual checks.
bool bareOutputWouldDestroy(const char* name);

#endif  // ZELGRIN_DRIVER_OUTPUT_GUARD_H
