#include "build/learnt_orders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

InputFile entry(FileType type, const std::string& name, bool merged, bool rereads = false) {
  InputFile input;
  input.type = type;
  input.name = name;
  input.contents = merged ? getIPCovering : getNodes | getEdges;
  input.rereads = rereads;
  return input;
}

AddressOrder order(AddressOrder::Kind kind) {
  AddressOrder learnt;
  learnt.kind = kind;
  return learnt;
}

// The merge takes its dumps in an order of its own (c before a here), and a file of the same
// name read with another letter learnt nothing of the one the merge reads.
TEST(LearntOrders, EachMergedFileTakesWhatItsOwnFirstReadingLearnt) {
  const std::vector<InputFile> inputs = {
      entry(mrtFile, "a", false),  entry(mrtFile, "b", false),      entry(mrtFile, "c", false),
      entry(pipeFile, "d", false), entry(mrtFile, "c", true, true), entry(mrtFile, "a", true, true),
      entry(mrtFile, "e", true),   entry(mrtFile, "b", true, true), entry(mrtFile, "d", true, true),
  };
  const std::vector<AddressOrder> learnt = {
      order(AddressOrder::ascending), order(AddressOrder::notAscending),
      order(AddressOrder::ascending), order(AddressOrder::ascending)};
  const std::vector<int> merged = {4, 5, 6, 7, 8};
  const std::vector<AddressOrder> orders = learntOrders(inputs, merged, learnt);
  const AddressOrder::Kind expected[] = {AddressOrder::ascending, AddressOrder::ascending,
                                         AddressOrder::unknown, AddressOrder::notAscending,
                                         AddressOrder::unknown};
  ASSERT_EQ(orders.size(), merged.size());
  for (std::size_t k = 0; k < merged.size(); ++k) EXPECT_EQ(orders[k].kind, expected[k]) << k;
}

}  // namespace
