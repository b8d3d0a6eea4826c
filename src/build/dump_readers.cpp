#include "build/dump_readers.h"

#include <utility>

#include "build/ip_covering.h"
#include "io/helper_thread.h"

namespace {

// A batch is handed over when it holds this many steps, or this much path or text, so that a
// dump's queue stays small whatever its lines hold.
constexpr std::size_t kBatchSteps = 256;
constexpr std::size_t kBatchItems = 64 * 1024;
// One file of the first pass is read ahead alone, and the graph takes its paths faster than they
// are parsed: each time it catches up it sleeps until the next batch, so its batches are larger,
// making such waits rare.
constexpr std::size_t kPathBatchScale = 16;
constexpr std::size_t kBatchText = 1 << 20;

}  // namespace

bool DumpReaders::Batch::full(std::size_t scale) const {
  return steps.size() >= kBatchSteps * scale || ases.size() >= kBatchItems * scale ||
         text.size() >= kBatchText;
}

void DumpReaders::Batch::clear() {
  steps.clear();
  positions.clear();
  details.clear();
  networks.clear();
  networks6.clear();
  ases.clear();
  hops.clear();
  text.clear();
}

DumpReaders::DumpReaders(const std::vector<Parser*>& parsers,
                         const std::vector<const InputFormat*>& formats, int threads,
                         bool keepLines, bool keepPositions, Capture capture,
                         std::vector<ASNumber> vantages)
    : parsers_(parsers),
      formats_(formats),
      threads_(threads),
      keepLines_(keepLines),
      keepPositions_(keepPositions),
      capture_(capture),
      vantages_(std::move(vantages)) {}

void DumpReaders::findHopsIn(ASGraph& graph, bool collapseRepeats) {
  hopsGraph_ = &graph;
  collapseRepeats_ = collapseRepeats;
}

std::unique_ptr<EdgeLookup> DumpReaders::hopsLookup() const {
  if (hopsGraph_ == nullptr) return nullptr;
  return std::make_unique<EdgeLookup>(*hopsGraph_, collapseRepeats_);
}

void DumpReaders::start() {
  // Routes' paths are read from the parsers' arrays where they have them, so that their lists
  // need not be filled.
  itemPaths_.assign(parsers_.size(), false);
  if (capture_ == Capture::routes) {
    for (std::size_t k = 0; k < parsers_.size(); ++k) itemPaths_[k] = parsers_[k]->leavePathList();
  }
  ahead_ = threads_ > 1 && !parsers_.empty();
  if (!ahead_) return;
  dumps_.resize(parsers_.size());
  std::size_t count = static_cast<std::size_t>(threads_ - 1);
  if (count > dumps_.size()) count = dumps_.size();
  // The reader threads allocate little once their batches exist, so sharing the main heap
  // costs nothing measurable. Threads the system refuses are done without; with none, the
  // dumps are read in this thread.
  for (std::size_t i = 0; i < count; ++i) {
    std::thread worker = helper_thread::start(&DumpReaders::work, this);
    if (!worker.joinable()) break;
    workers_.push_back(std::move(worker));
  }
  if (workers_.empty()) {
    ahead_ = false;
    dumps_.clear();
    return;
  }
  mergeLookup_ = hopsLookup();
}

void DumpReaders::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  workToDo_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

bool DumpReaders::readBatch(std::size_t k, Batch& batch, EdgeLookup* edges) {
  const bool last = readSteps(k, batch);
  if (edges != nullptr) findHops(batch, *edges);
  return last;
}

// Each route's hops are found in three passes over the batch: first its index slots are asked
// for, then its edges, whose places the slots give, and then the edges are found, by then in
// the cache. A find alone would wait on memory for each, as the graph seldom is.
void DumpReaders::findHops(Batch& batch, EdgeLookup& edges) {
  batch.hops.resize(batch.ases.size());
  const auto forEachWalk = [&batch](auto visit) {
    std::size_t begin = 0;
    for (const Step& step : batch.steps) {
      if (step.kind != StepKind::parsed) continue;
      visit(batch.ases.data() + begin, step.pathLength, batch.hops.data() + begin);
      begin += step.pathLength;
    }
  };
  forEachWalk([&edges](const ASNumber* ases, std::size_t count, ASGraph::edge*) {
    for (std::size_t i = 1; i < count; ++i) edges.prefetchSlot(ases[i - 1], ases[i]);
  });
  forEachWalk([&edges](const ASNumber* ases, std::size_t count, ASGraph::edge*) {
    for (std::size_t i = 1; i < count; ++i) edges.prefetchEdge(ases[i - 1], ases[i]);
  });
  forEachWalk([&edges](const ASNumber* ases, std::size_t count, ASGraph::edge* hops) {
    findWalkHops(edges, ases, count, hops);
  });
}

bool DumpReaders::readSteps(std::size_t k, Batch& batch) {
  Parser& parser = *parsers_[k];
  const std::size_t scale = capture_ == Capture::paths ? kPathBatchScale : 1;
  const ASNumber vantage = k < vantages_.size() ? vantages_[k] : 0;
  while (!batch.full(scale)) {
    batch.steps.emplace_back();
    Step& step = batch.steps.back();
    const bool lineReady = parser.nextLine() == Parser::lineReady;
    const unsigned long long afterNext = keepPositions_ ? parser.filePos() : 0;
    if (!lineReady) {
      step.kind = StepKind::ended;
      if (keepPositions_) batch.positions.push_back(Positions{afterNext, afterNext});
      Detail detail;
      detail.readError = parser.readError();
      detail.reasonAt = batch.text.size();
      batch.text.append(parser.readErrorText()).push_back('\0');
      batch.details.push_back(detail);
      return true;
    }
    const bool parsed = parser.parseLine() == Parser::parseOk;
    if (keepPositions_) batch.positions.push_back(Positions{afterNext, parser.filePos()});
    if (parsed && capture_ == Capture::paths) {
      const std::size_t before = batch.ases.size();
      formats_[k]->pathOf(parser, vantage, batch.ases);
      step.pathLength = static_cast<std::uint32_t>(batch.ases.size() - before);
      continue;
    }
    if (parsed) {
      Route& route = formats_[k]->routeOf(parser);
      step.ipv6 = route.family == AddressFamily::ipv6;
      if (step.ipv6) {
        batch.networks6.push_back(route.network6);
      } else {
        batch.networks.push_back(Network{route.network, route.networkMask});
      }
      const std::size_t before = batch.ases.size();
      if (itemPaths_[k]) {
        std::size_t count = 0;
        const ASItem* items = parser.pathItems(count);
        coveredPathASes(items, count, vantage, batch.ases);
      } else {
        coveredPathASes(route.path, vantage, batch.ases);
      }
      step.pathLength = static_cast<std::uint32_t>(batch.ases.size() - before);
      continue;
    }
    step.kind = StepKind::failed;
    Detail detail;
    detail.lineNumber = parser.readLines();
    detail.refusedForWidth = parser.refusedForWidth();
    detail.lineAt = batch.text.size();
    if (keepLines_) batch.text.append(parser.currentLine());
    batch.text.push_back('\0');
    detail.reasonAt = batch.text.size();
    batch.text.append(parser.errReason()).push_back('\0');
    batch.details.push_back(detail);
  }
  return false;
}

std::unique_ptr<DumpReaders::Batch> DumpReaders::spareBatch() {
  if (spare_.empty()) return std::make_unique<Batch>();
  std::unique_ptr<Batch> batch = std::move(spare_.back());
  spare_.pop_back();
  return batch;
}

// The dump with the fewest batches ahead is the one the merge may soonest wait for.
std::size_t DumpReaders::neediest() const {
  std::size_t chosen = dumps_.size();
  for (std::size_t k = 0; k < dumps_.size(); ++k) {
    const Dump& dump = dumps_[k];
    if (dump.claimed || dump.ended || dump.ready.size() >= kBatchesAhead) continue;
    if (chosen == dumps_.size() || dump.ready.size() < dumps_[chosen].ready.size()) chosen = k;
  }
  return chosen;
}

void DumpReaders::work() {
  const std::unique_ptr<EdgeLookup> edges = hopsLookup();
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (stopping_) return;
    const std::size_t chosen = neediest();
    if (chosen == dumps_.size()) {
      workToDo_.wait(lock);
      continue;
    }
    readAhead(chosen, lock, edges.get());
    batchReady_.notify_one();
  }
}

void DumpReaders::readAhead(std::size_t k, std::unique_lock<std::mutex>& lock, EdgeLookup* edges) {
  Dump& dump = dumps_[k];
  dump.claimed = true;
  std::unique_ptr<Batch> batch = spareBatch();
  lock.unlock();
  const bool last = readBatch(k, *batch, edges);
  lock.lock();
  dump.claimed = false;
  dump.ended = last;
  dump.ready.push_back(std::move(batch));
}

void DumpReaders::takeBatch(std::size_t k) {
  Dump& dump = dumps_[k];
  std::unique_lock<std::mutex> lock(mutex_);
  if (dump.current) {
    dump.current->clear();
    spare_.push_back(std::move(dump.current));
  }
  // Nothing read ahead: the merge reads the batch itself rather than wait for a reader thread
  // busy with other dumps; while a reader thread is at this one, it reads ahead in another.
  while (dump.ready.empty()) {
    const std::size_t chosen = (!dump.claimed && !dump.ended) ? k : neediest();
    if (chosen == dumps_.size()) {
      batchReady_.wait(lock);
      continue;
    }
    readAhead(chosen, lock, mergeLookup_.get());
  }
  dump.current = dump.ready.take_front();
  dump.next = 0;
  dump.itemCursor = 0;
  dump.networkCursor = 0;
  dump.network6Cursor = 0;
  dump.detailCursor = 0;
  // A reader thread sleeps once every dump has its batches ahead. Waking it for each batch
  // taken would cost the merge a system call a batch, so it is woken when a dump runs low, and
  // then fills every dump with room.
  const bool runningLow = dump.ready.size() < kBatchesAhead / 2;
  lock.unlock();
  if (runningLow) workToDo_.notify_one();
}

bool DumpReaders::nextLineAhead(std::size_t k) {
  Dump& dump = dumps_[k];
  if (!dump.current || dump.next == dump.current->steps.size()) takeBatch(k);
  const Batch& batch = *dump.current;
  const Step& step = batch.steps[dump.next];
  if (keepPositions_) dump.position = batch.positions[dump.next].afterNext;
  ++dump.next;
  dump.step = &step;
  if (step.kind == StepKind::parsed) {
    dump.itemBegin = dump.itemCursor;
    dump.itemCursor += step.pathLength;
  } else {
    dump.detail = &batch.details[dump.detailCursor++];
  }
  return step.kind != StepKind::ended;
}

bool DumpReaders::parseLineAhead(std::size_t k) {
  Dump& dump = dumps_[k];
  const Batch& batch = *dump.current;
  const Step& step = *dump.step;
  if (keepPositions_) dump.position = batch.positions[dump.next - 1].afterParse;
  if (step.kind != StepKind::parsed) return false;
  if (capture_ == Capture::paths) return true;
  Route& route = dump.route;
  if (step.ipv6) {
    route.family = AddressFamily::ipv6;
    route.network6 = batch.networks6[dump.network6Cursor++];
  } else {
    const Network& network = batch.networks[dump.networkCursor++];
    route.family = AddressFamily::ipv4;
    route.network = network.address;
    route.networkMask = network.mask;
  }
  return true;
}

const ASNumber* DumpReaders::path(std::size_t k) const {
  return dumps_[k].current->ases.data() + dumps_[k].itemBegin;
}

std::size_t DumpReaders::pathLength(std::size_t k) const { return dumps_[k].step->pathLength; }

unsigned long long DumpReaders::filePos(std::size_t k) const {
  return ahead_ ? dumps_[k].position : parsers_[k]->filePos();
}

unsigned long DumpReaders::lineNumber(std::size_t k) const {
  return ahead_ ? dumps_[k].detail->lineNumber : parsers_[k]->readLines();
}

const char* DumpReaders::lineText(std::size_t k) const {
  if (!ahead_) return parsers_[k]->currentLine();
  return dumps_[k].current->text.c_str() + dumps_[k].detail->lineAt;
}

const char* DumpReaders::reason(std::size_t k) const {
  if (!ahead_) return parsers_[k]->errReason();
  return dumps_[k].current->text.c_str() + dumps_[k].detail->reasonAt;
}

bool DumpReaders::refusedForWidth(std::size_t k) const {
  return ahead_ ? dumps_[k].detail->refusedForWidth : parsers_[k]->refusedForWidth();
}

int DumpReaders::readError(std::size_t k) const {
  return ahead_ ? dumps_[k].detail->readError : parsers_[k]->readError();
}

const char* DumpReaders::readErrorText(std::size_t k) const {
  if (!ahead_) return parsers_[k]->readErrorText();
  return dumps_[k].current->text.c_str() + dumps_[k].detail->reasonAt;
}
