// The first bytes of a file as its reader will see them (decompressed), for the checks that
// look at what a file holds before or after it is read: is an existing output a graph file, was
// an input given the right format letter. Only regular files are looked at, so that a pipe or a
// terminal is never read by a check.
#ifndef ZELGRIN_BUILD_FIRST_BLOCK_H
#define ZELGRIN_BUILD_FIRST_BLOCK_H

#include <cstddef>
#include <string>

// The first block's size: enough for a few dozen lines of any format, one read of the stream.
constexpr std::size_t kFirstBlockSize = 16 * 1024;

// Fills `block` with up to `limit` decoded bytes from the start of the regular file `name`.
// False (block empty) when `name` is no regular file, cannot be opened, or is not empty but
// gives no byte; an empty file gives true and an empty block.
bool readFirstBlock(const char* name, std::string& block, std::size_t limit = kFirstBlockSize);

#endif  // ZELGRIN_BUILD_FIRST_BLOCK_H
