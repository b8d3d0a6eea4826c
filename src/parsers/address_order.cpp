#include "parsers/address_order.h"

#include <sys/stat.h>

bool FileStamp::operator==(const FileStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modifiedSeconds == other.modifiedSeconds &&
         modifiedNanoseconds == other.modifiedNanoseconds;
}

bool stampOf(const std::string& path, FileStamp& stamp) {
  struct stat status;
  if (path.empty() || stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  stamp.device = static_cast<std::uint64_t>(status.st_dev);
  stamp.inode = static_cast<std::uint64_t>(status.st_ino);
  stamp.size = static_cast<std::uint64_t>(status.st_size);
  stamp.modifiedSeconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
  stamp.modifiedNanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_nsec);
  return true;
}

AddressOrder::Kind AddressOrder::of(const std::string& path) const {
  if (kind == unknown) return unknown;
  FileStamp now;
  return stampOf(path, now) && now == file ? kind : unknown;
}
