#include "export/output_buffer.h"

#include <limits>

#include "export_test_graph.h"

TEST(OutputBuffer, FormatsNumbersAndCarriesTextAcrossBlocks) {
  EXPECT_EQ(render([](OutputBuffer& out) {
              out.appendNumber(std::numeric_limits<unsigned long long>::max());
              out.append(' ');
              out.appendNumber(-1LL);
              out.append(' ');
              out.appendFixed(0.1f);
              out.append(' ');
              out.appendFixed(3.4028234663852886e38);
              out.append(' ');
              out.appendFixed(-std::numeric_limits<double>::infinity());
            }),
            "18446744073709551615 -1 0.100000 340282346638528859811704183484516925440.000000 "
            "-inf");
  // Text longer than a block, after a partly filled one, arrives whole and in order.
  const std::string big(OutputBuffer::kBlockSize + 10, 'x');
  const std::string text = render([&](OutputBuffer& out) {
    out.append("ab");
    out.append(big);
    for (int i = 0; i < 200000; ++i) out.appendNumber(i % 10);
  });
  ASSERT_EQ(text.size(), 2 + big.size() + 200000);
  EXPECT_EQ(text.substr(0, 3), "abx");
  EXPECT_EQ(text.substr(text.size() - 3), "789");
}

TEST(OutputBuffer, FailedWriteKeepsTheSystemReason) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  OutputBuffer out(full);
  out.append("lost");
  EXPECT_FALSE(out.flush());
  EXPECT_TRUE(out.failed());
  EXPECT_EQ(out.reason(), "No space left on device");
  std::fclose(full);
}
