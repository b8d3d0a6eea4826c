#include "build/credit_pipeline.h"

#include "build/ip_covering.h"

void CreditPipeline::add(int entry, const IPPrefix& prefix, const ASNumber* ases,
                         std::size_t count) {
  if (!holdNext()) {
    addIPCovering(edges_, prefix, ases, count, exact_, ranges_);
    countUsed(entry);
    return;
  }
  Held& held = makeRoom(entry, prefix);
  held.ases.assign(ases, ases + count);
  loadAhead();
}

void CreditPipeline::add(int entry, const IPPrefix& prefix, List<ASItem>& path, ASNumber vantage) {
  if (!holdNext()) {
    addIPCovering(edges_, prefix, path, vantage, exact_, ranges_);
    countUsed(entry);
    return;
  }
  Held& held = makeRoom(entry, prefix);
  held.ases.clear();
  coveredPathASes(path, vantage, held.ases);
  loadAhead();
}

void CreditPipeline::add(int entry, const IPPrefix& prefix, const ASItem* items, std::size_t count,
                         ASNumber vantage) {
  if (!holdNext()) {
    addIPCovering(edges_, prefix, items, count, vantage, exact_, ranges_);
    countUsed(entry);
    return;
  }
  Held& held = makeRoom(entry, prefix);
  held.ases.clear();
  coveredPathASes(items, count, vantage, held.ases);
  loadAhead();
}

void CreditPipeline::add(int entry, const IPPrefix& prefix, const ASGraph::edge* hops,
                         std::size_t count) {
  Held& held = makeRoom(entry, prefix);
  held.byHops = true;
  held.hops.assign(hops, hops + count);
  for (std::size_t i = 0; i < count; ++i) {
    if (hops[i]) ASGraph::prefetchWays(hops[i]);
  }
}

void CreditPipeline::flush() {
  while (count_ > 0) creditOldest();
}

bool CreditPipeline::holdNext() {
  if (routeInPeriod_ == kPeriod) {
    routeInPeriod_ = 0;
    sampledHops_ = missedHops_ = 0;
  }
  if (routeInPeriod_ == kSample) holding_ = sampledHops_ < kMissShare * missedHops_;
  const bool sampling = routeInPeriod_++ < kSample;
  if (sampling || holding_) return true;
  // Routes held back before go first.
  flush();
  return false;
}

CreditPipeline::Held& CreditPipeline::makeRoom(int entry, const IPPrefix& prefix) {
  if (count_ == kDepth) creditOldest();
  Held& held = held_[(oldest_ + count_++) % kDepth];
  held.entry = entry;
  held.prefix = prefix;
  held.byHops = false;
  return held;
}

// A route's index slots are asked for as it comes; its edges, which need the slots, when it is
// halfway to being credited.
void CreditPipeline::loadAhead() {
  const std::vector<ASNumber>& entered = held_[(oldest_ + count_ - 1) % kDepth].ases;
  for (std::size_t i = 1; i < entered.size(); ++i) {
    if (edges_.prefetchSlot(entered[i - 1], entered[i])) ++missedHops_;
  }
  if (entered.size() > 1) sampledHops_ += entered.size() - 1;
  if (count_ <= kDepth / 2) return;
  const std::vector<ASNumber>& halfway = held_[(oldest_ + count_ - 1 - kDepth / 2) % kDepth].ases;
  for (std::size_t i = 1; i < halfway.size(); ++i) edges_.prefetchEdge(halfway[i - 1], halfway[i]);
}

void CreditPipeline::creditOldest() {
  Held& held = held_[oldest_];
  if (held.byHops) {
    addIPCovering(edges_, held.prefix, held.hops.data(), held.hops.size(), exact_, ranges_);
  } else {
    addIPCovering(edges_, held.prefix, held.ases.data(), held.ases.size(), exact_, ranges_);
  }
  countUsed(held.entry);
  oldest_ = (oldest_ + 1) % kDepth;
  --count_;
}

void CreditPipeline::countUsed(int entry) {
  if (report_ != nullptr) report_->countUsed(entry, edges_.takeReached());
}
