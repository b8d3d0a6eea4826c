#include "containers/pool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts its living instances, so that a record the pool fails to destroy shows.
const std::string kText = "a string long enough to live on the heap";

struct Counted {
  static int alive;
  std::string text = kText;
  Counted() { ++alive; }
  ~Counted() { --alive; }
  Counted(const Counted&) = delete;
};
int Counted::alive = 0;

// Records are numbered in order, never move while the pool grows over many chunks, and start
// default-constructed; a record type with a destructor is destroyed with the pool.
TEST(Pool, RecordsKeepTheirNumberAndPlace) {
  {
    Pool<Counted> pool;
    std::vector<const Counted*> places;
    for (int i = 0; i < 20000; ++i) {
      Counted& c = pool.add();
      EXPECT_EQ(pool.size(), static_cast<std::uint32_t>(i + 1));
      c.text += std::to_string(i);
      places.push_back(&c);
    }
    EXPECT_EQ(Counted::alive, 20000);
    for (std::uint32_t i = 0; i < pool.size(); i += 997) {
      EXPECT_EQ(&pool[i], places[i]);
      EXPECT_EQ(pool[i].text, kText + std::to_string(i));
    }
    // Chunks start on a cache line.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&pool[4096]) % 64, 0u);
  }
  EXPECT_EQ(Counted::alive, 0);
  Pool<int> empty;
  EXPECT_EQ(empty.size(), 0u);
  EXPECT_EQ(empty.add(), 0);
}

}  // namespace
