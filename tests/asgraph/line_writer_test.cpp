#include "asgraph/line_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A stream that takes the first `room` bytes and then refuses every write, buffered as asked.
struct Budget {
  size_t room;
  std::string taken;
};
ssize_t budgetWrite(void* cookie, const char* data, size_t size) {
  Budget* budget = static_cast<Budget*>(cookie);
  if (size > budget->room) {
    errno = ENOSPC;
    return -1;
  }
  budget->room -= size;
  budget->taken.append(data, size);
  return static_cast<ssize_t>(size);
}
FILE* openBudget(Budget* budget, int mode) {
  cookie_io_functions_t io = {nullptr, budgetWrite, nullptr, nullptr};
  FILE* f = fopencookie(budget, "w", io);
  std::setvbuf(f, nullptr, mode, 1024);
  return f;
}

// Lines of every length from 2 to 90 characters.
std::vector<std::string> someLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) {
    lines.push_back(std::to_string(i) + std::string(i % 89, 'x') + "\n");
  }
  return lines;
}

// The line a stream refuses when each line is written on its own, or "" when none is.
std::string refusedAlone(size_t room, int mode) {
  Budget budget{room, ""};
  FILE* f = openBudget(&budget, mode);
  std::string refused;
  if (std::fputs("head\n", f) >= 0) {
    for (const std::string& line : someLines()) {
      if (std::fputs(line.c_str(), f) < 0) {
        refused = line.substr(0, line.size() - 1);
        break;
      }
    }
  }
  std::fclose(f);
  return refused;
}

// The line a LineWriter names, or "" when the stream took everything it was handed.
std::string refusedByWriter(size_t room, int mode, std::string* taken = nullptr) {
  Budget budget{room, ""};
  FILE* f = openBudget(&budget, mode);
  std::string refused;
  if (std::fputs("head\n", f) >= 0) {
    LineWriter writer(f);
    bool ok = true;
    for (const std::string& line : someLines()) {
      char* p = writer.lineStart();
      std::memcpy(p, line.data(), line.size());
      if (!(ok = writer.endLine(p + line.size()))) break;
    }
    if (ok) ok = writer.flush();
    if (!ok) {
      refused = writer.refusedLine();
      EXPECT_FALSE(writer.flush());  // a refusal stays
    }
  }
  std::fflush(f);
  if (taken != nullptr) *taken = budget.taken;
  std::fclose(f);
  return refused;
}

}  // namespace

// Whatever the stream's buffering, the line named is the one the stream refuses when every line
// is written on its own.
TEST(LineWriter, NamesTheLineTheStreamRefuses) {
  for (int mode : {_IONBF, _IOLBF, _IOFBF}) {
    for (size_t room : {size_t(0), size_t(4), size_t(5), size_t(6), size_t(1024), size_t(1500),
                        size_t(4095), size_t(4096), size_t(7000), size_t(20000)}) {
      EXPECT_EQ(refusedByWriter(room, mode), refusedAlone(room, mode))
          << "mode " << mode << " room " << room;
    }
  }
}

TEST(LineWriter, EveryLineArrivesInOrder) {
  std::string expected = "head\n";
  for (const std::string& line : someLines()) expected += line;
  for (int mode : {_IONBF, _IOLBF, _IOFBF}) {
    std::string taken;
    EXPECT_EQ(refusedByWriter(1u << 20, mode, &taken), "") << mode;
    EXPECT_EQ(taken, expected) << mode;
  }
}
