#include "build/credit_pipeline.h"

#include "build/ip_covering.h"

void CreditPipeline::add(int entry, const IPPrefix& prefix, const ASNumber* ases,
                         std::size_t count) {
  Held& held = makeRoom(entry, prefix);
  held.ases.assign(ases, ases + count);
  loadAhead();
}

void CreditPipeline::add(int entry, const IPPrefix& prefix, List<ASItem>& path, ASNumber vantage) {
  Held& held = makeRoom(entry, prefix);
  held.ases.clear();
  coveredPathASes(path, vantage, held.ases);
  loadAhead();
}

void CreditPipeline::flush() {
  while (count_ > 0) creditOldest();
}

CreditPipeline::Held& CreditPipeline::makeRoom(int entry, const IPPrefix& prefix) {
  if (count_ == kDepth) creditOldest();
  Held& held = held_[(oldest_ + count_++) % kDepth];
  held.entry = entry;
  held.prefix = prefix;
  return held;
}

// A route's index slots are asked for as it comes; its edges, which need the slots, when it is
// halfway to being credited.
void CreditPipeline::loadAhead() {
  const std::vector<ASNumber>& entered = held_[(oldest_ + count_ - 1) % kDepth].ases;
  for (std::size_t i = 1; i < entered.size(); ++i) edges_.prefetchSlot(entered[i - 1], entered[i]);
  if (count_ <= kDepth / 2) return;
  const std::vector<ASNumber>& halfway = held_[(oldest_ + count_ - 1 - kDepth / 2) % kDepth].ases;
  for (std::size_t i = 1; i < halfway.size(); ++i) edges_.prefetchEdge(halfway[i - 1], halfway[i]);
}

void CreditPipeline::creditOldest() {
  Held& held = held_[oldest_];
  addIPCovering(edges_, held.prefix, held.ases.data(), held.ases.size(), exact_, ranges_);
  if (report_ != nullptr) report_->countUsed(held.entry, edges_.takeReached());
  oldest_ = (oldest_ + 1) % kDepth;
  --count_;
}
