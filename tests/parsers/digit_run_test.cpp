#include "parsers/digit_run.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// What readDigitRun must give: the digits taken one at a time.
const char* digitsOneByOne(const char* first, const char* last, unsigned long long& value) {
  value = 0;
  for (; first != last && *first >= '0' && *first <= '9'; ++first) {
    value = value * 10 + static_cast<unsigned>(*first - '0');
  }
  return first;
}

// Every start, end and text start in texts of runs of 0 to 21 digits between the bytes next to the
// digits in the character set ('/', ':'), blanks, NULs and bytes whose adding overflows a byte.
TEST(DigitRun, MatchesReadingByteByByte) {
  const std::string stops[] = {" ", "/", ":", std::string(1, '\0'), "\xfa", "\xff", ".", "\n"};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    while (text.size() < 48) {
      text.append(random() % 22, '0');
      for (char& c : text) {
        if (c == '0') c = static_cast<char>('0' + random() % 10);
      }
      text += stops[random() % 8];
    }
    for (std::size_t first = 0; first < text.size(); ++first) {
      for (std::size_t last = first; last <= text.size(); last += 1 + random() % 3) {
        // The text may start anywhere up to the number.
        const char* begin = &text[0] + random() % (first + 1);
        unsigned long long expected = 0, value = 1;
        const char* end = digitsOneByOne(&text[first], &text[0] + last, expected);
        ASSERT_EQ(readDigitRun(&text[first], &text[0] + last, value, begin), end)
            << first << " " << last;
        ASSERT_EQ(value, expected) << text.substr(first, last - first);
      }
    }
  }
}

}  // namespace
