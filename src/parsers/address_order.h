// What one reading of a route file to its end learnt of the order of its routes' addresses,
// handed to the merge's reading of the same file: a reader that sorts routes otherwise reads
// the whole file beforehand to find out whether they ascend. Tied to the file as it was when
// read (device, inode, size, modification time), so that a file changed in between is read to
// find out again.
#ifndef ZELGRIN_PARSERS_ADDRESS_ORDER_H
#define ZELGRIN_PARSERS_ADDRESS_ORDER_H

#include <cstdint>
#include <string>

struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;

  bool operator==(const FileStamp& other) const;
};

// The stamp of `path`; false when it names no regular file.
bool stampOf(const std::string& path, FileStamp& stamp);

struct AddressOrder {
  enum Kind { unknown, ascending, notAscending };
  Kind kind = unknown;
  FileStamp file;  // the file it was learnt of (not unknown)

  // The order `path` has, as far as this knows: unknown unless learnt of the file as it is.
  Kind of(const std::string& path) const;
};

#endif  // ZELGRIN_PARSERS_ADDRESS_ORDER_H
