// The MRT reader on files written by real BGP daemons, against the entries bgpdump gives for
// them (see data/mrt/README.md).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "parsers/mrt_decode.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

TEST(MrtSamplesTest, EntriesMatchBgpdumpForEverySample) {
  const char* samples[] = {
      "bird-mrtdump_bgp",
      "bird-mrtdump_rib",
      "bird6-mrtdump_bgp",
      "bird6-mrtdump_rib",
      "bird6_bgp",
      "bird_bgp",
      "openbgpd_bgp",
      "openbgpd_rib_table-mp",
      "openbgpd_rib_table-v2",
      "openbgpd_rib_table",
      "quagga_bgp",
      "quagga_rib",
  };
  std::size_t total = 0;
  for (const char* name : samples) {
    const std::string base = std::string(ZELGRIN_TEST_DATA) + "/mrt/" + name + ".mrt";
    const std::string input = readFile(base);
    ASSERT_FALSE(input.empty()) << base;
    MrtOutcome outcome = decodeAll(input);
    std::vector<std::string> entries;
    for (const std::string& entry : outcome.entries) {
      // Drop the kind letter and the mark of a left-out set: bgpdump's lines hold neither.
      std::string text = entry.substr(2);
      if (text.size() > 3 && text.compare(text.size() - 3, 3, " {}") == 0)
        text.resize(text.size() - 3);
      entries.push_back(text);
    }
    EXPECT_EQ(entries, lines(readFile(base + ".expected"))) << name;
    EXPECT_EQ(outcome.status, MrtStatus::end) << name;
    EXPECT_TRUE(outcome.problems.empty()) << name;
    total += entries.size();
  }
  EXPECT_EQ(total, 262u);
}

}  // namespace
