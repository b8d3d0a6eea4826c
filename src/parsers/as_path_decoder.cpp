#include "parsers/as_path_decoder.h"

#include <cstddef>

namespace {

const std::size_t kWholePath = static_cast<std::size_t>(-1);

bool takeAS(ByteCursor& path, int asBytes, ASNumber& as) {
  if (asBytes == 4) return path.takeU32(as);
  std::uint16_t narrow = 0;
  if (!path.takeU16(narrow)) return false;
  as = narrow;
  return true;
}

// Checks every segment of a path and counts its length the way AS4_PATH merging counts it.
const char* measurePath(ByteCursor path, int asBytes, std::size_t& length) {
  length = 0;
  while (!path.empty()) {
    std::uint8_t type = 0, count = 0;
    if (!path.takeU8(type) || !path.takeU8(count)) return "AS_PATH segment header cut short";
    if (type < kASSet || type > kASConfedSet) return "unknown AS_PATH segment type";
    if (!path.skip(std::size_t{count} * static_cast<std::size_t>(asBytes)))
      return "AS_PATH segment longer than its attribute";
    if (type == kASSequence) length += count;
    if (type == kASSet) length += 1;
  }
  return nullptr;
}

// Appends the sequence ASes of the leading `limit` counted ASes of a checked path.
void appendPath(ByteCursor path, int asBytes, std::size_t limit, MrtEntry& entry) {
  while (!path.empty() && limit > 0) {
    std::uint8_t type = 0, count = 0;
    path.takeU8(type);
    path.takeU8(count);
    if (type != kASSequence) {
      path.skip(std::size_t{count} * static_cast<std::size_t>(asBytes));
      entry.droppedSegments = true;
      if (type == kASSet) --limit;
      continue;
    }
    std::size_t i = 0;
    for (; i < count && limit > 0; ++i, --limit) {
      ASNumber as = 0;
      takeAS(path, asBytes, as);
      if (as > kLargestAS16) entry.pathHasWideAS = true;
      entry.path.push_back(as);
    }
    path.skip((count - i) * static_cast<std::size_t>(asBytes));
  }
}

}  // namespace

const char* decodeASPath(ByteCursor asPath, int asBytes, const ByteCursor* as4Path,
                         MrtEntry& entry) {
  entry.path.clear();
  entry.pathHasWideAS = false;
  entry.droppedSegments = false;
  std::size_t length = 0;
  if (const char* problem = measurePath(asPath, asBytes, length)) return problem;
  std::size_t length4 = 0;
  if (as4Path == nullptr || measurePath(*as4Path, 4, length4) != nullptr || length4 > length) {
    appendPath(asPath, asBytes, kWholePath, entry);
    return nullptr;
  }
  appendPath(asPath, asBytes, length - length4, entry);
  appendPath(*as4Path, 4, kWholePath, entry);
  return nullptr;
}
