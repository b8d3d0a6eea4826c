#include "build/learnt_orders.h"

#include <algorithm>
#include <tuple>

std::vector<AddressOrder> learntOrders(const std::vector<InputFile>& inputs,
                                       const std::vector<int>& merged,
                                       const std::vector<AddressOrder>& addressOrders) {
  auto fileOf = [&](std::size_t j) {
    return std::tie(inputs[j].type, inputs[j].name, inputs[j].copy);
  };
  // The first-pass entries that learnt something, by file: a day's list may hold thousands.
  std::vector<std::size_t> learnt;
  for (std::size_t j = 0; j < inputs.size() && j < addressOrders.size(); ++j) {
    if (!readInMerge(inputs[j]) && addressOrders[j].kind != AddressOrder::unknown) {
      learnt.push_back(j);
    }
  }
  std::sort(learnt.begin(), learnt.end(),
            [&](std::size_t a, std::size_t b) { return fileOf(a) < fileOf(b); });
  std::vector<AddressOrder> orders(merged.size());
  for (std::size_t k = 0; k < merged.size(); ++k) {
    const std::size_t entry = static_cast<std::size_t>(merged[k]);
    if (!inputs[entry].rereads) continue;
    const auto found =
        std::lower_bound(learnt.begin(), learnt.end(), entry,
                         [&](std::size_t a, std::size_t b) { return fileOf(a) < fileOf(b); });
    if (found != learnt.end() && fileOf(*found) == fileOf(entry)) orders[k] = addressOrders[*found];
  }
  return orders;
}
