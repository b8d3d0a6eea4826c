#include "build/first_block.h"

#include <sys/stat.h>

#include "io/input_stream.h"

bool readFirstBlock(const char* name, std::string& block, std::size_t limit) {
  block.clear();
  struct stat status;
  if (stat(name, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  InputStream in;
  if (!in.open(name)) return false;
  block.resize(limit);
  std::size_t filled = 0;
  while (filled < limit) {
    const long got = in.read(&block[filled], limit - filled);
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  block.resize(filled);
  in.close();
  return filled != 0 || status.st_size == 0;
}
