#include "build/dump_merge.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "build/build_graph.h"
#include "build/covering_ranges.h"
#include "build/credit_pipeline.h"
#include "build/dump_readers.h"
#include "build/ip_covering.h"
#include "build/learnt_orders.h"
#include "build/open_input.h"
#include "build/parse_report.h"
#include "build/table_cuts.h"
#include "console/console.h"
#include "io/helper_thread.h"
#include "parsers/bgp_parser.h"
#include "parsers/mrt_route_sort.h"

namespace {

// The number of host bits of a contiguous netmask, 32 minus its length: the trailing zeros.
unsigned long long hostBits(std::uint32_t netmask) {
  if (netmask == 0) return 32;
#if defined(__GNUC__)
  return static_cast<unsigned long long>(__builtin_ctz(netmask));
#else
  unsigned long long bits = 0;
  for (; (netmask & 1u) == 0; netmask >>= 1) ++bits;
  return bits;
#endif
}

// What each dump's sort may hold before it spills to a temporary file. A dump whose addresses do
// not ascend is sorted whole before the merge takes its first route and holds its share until
// it ends, so the shares of all dumps together stay within what one sort alone holds: many
// such dumps cost space on disk, not gigabytes of memory.
std::size_t sortMemoryOfEach(std::size_t dumps) {
  constexpr std::size_t kAll = MrtRouteSort::kDefaultMemory;
  constexpr std::size_t kLeast = std::size_t{1} << 20;
  const std::size_t share = dumps > 1 ? kAll / dumps : kAll;
  return share > kLeast ? share : kLeast;
}

// The place of a prefix in the merge order as one number: the address, then the longer
// prefix first. Ties between dumps are broken by their index.
unsigned long long orderKey(const IPPrefix& prefix) {
  unsigned long long address = prefix.address().value();
  return (address << 6) | hostBits(prefix.netmask().value());
}

// One range of a merge cut by address: its dumps read between its cuts, and every route it
// takes checked to lie in it.
struct MergeRange {
  const TableCuts* cuts = nullptr;
  std::size_t index = 0;  // range `index` of cuts->ranges()

  bool first() const { return index == 0; }
  bool last() const { return index + 1 == cuts->ranges(); }
};

// All dumps of one merge, with the parsed route each active dump holds and a heap of the
// active dumps ordered by (prefix, index), so that choosing the next route does not scan
// every dump. The parsers are stepped through DumpReaders, which may read them ahead in other
// threads; everything printed and counted is done here, in the order of a single thread.
class DumpMerge {
 public:
  // The dumps are the entries of `inputs` read in the merge; dump k is entry entries_[k].
  // With `range`, it merges that range only, printing nothing: it fails where the range cannot
  // stand for its part of the whole merge, which is then read as one.
  DumpMerge(const std::vector<InputFile>& inputs, const BuildOptions& options, BuildReport* report,
            const std::vector<AddressOrder>& addressOrders, const MergeRange* range = nullptr)
      : range_(range),
        verbose_(options.verbose),
        report_(report),
        exact_(options.exactCovering),
        ipv6_(options.family == AddressFamily::ipv6),
        ranges_(options.ipRanges),
        heapSize_(0),
        failed_(false),
        readers_(parsers_, formats_, options.threads, options.verbose, options.progress,
                 DumpReaders::Capture::routes, vantagesOf(inputs)) {
    for (std::size_t k = 0; k < inputs.size(); ++k) {
      if (!readInMerge(inputs[k])) continue;
      dumps_.push_back(&inputs[k]);
      entries_.push_back(static_cast<int>(k));
    }
    count_ = static_cast<short>(dumps_.size());
    formats_.resize(dumps_.size());
    parsers_.resize(dumps_.size());
    prefixes_.resize(dumps_.size());
    prefixes6_.resize(dumps_.size());
    keys_.resize(dumps_.size());
    countedPos_.resize(dumps_.size());
    heap_.resize(dumps_.size());
    countsOwn_.resize(dumps_.size());
    const std::vector<AddressOrder> orders = learntOrders(inputs, entries_, addressOrders);
    const std::size_t sortMemory = sortMemoryOfEach(dumps_.size());
    for (short k = 0; k < count_; k++) {
      formats_[k] = &formatOf(dumps_[k]->type);
      parsers_[k] = formats_[k]->makeRouteParser();
      parsers_[k]->setWidth(options.width);
      parsers_[k]->setTimeWindow(options.timeWindow);
      parsers_[k]->setFamily(options.family);
      parsers_[k]->setSortMemory(sortMemory);
      parsers_[k]->setReadAhead(options.threads > 1);
      parsers_[k]->setAddressOrderKnown(orders[k]);
      countsOwn_[k] = parsers_[k]->skipStats() != nullptr;
    }
  }

  ~DumpMerge() {
    readers_.stop();
    for (short k = 0; k < count_; k++) delete parsers_[k];
  }

  DumpMerge(const DumpMerge&) = delete;
  DumpMerge& operator=(const DumpMerge&) = delete;

  // The parser of dump k and its entry in the input list.
  const Parser& parser(short k) const { return *parsers_[k]; }
  int entry(short k) const { return entries_[k]; }
  short count() const { return count_; }

  int run(short step, bool progress, EdgeLookup& edges) {
    CreditPipeline pipeline(edges, exact_, ranges_, report_);
    const int status = merge(step, progress, edges, pipeline);
    // Whatever stopped the merge, the routes it took are credited, as one by one.
    pipeline.flush();
    return status;
  }

 private:
  int merge(short step, bool progress, EdgeLookup& edges, CreditPipeline& pipeline) {
    if (progress) std::printf("Reading IP covering file(s) (step %i of %i)\n", step, step);
    // Standard input has no size, so with it among the dumps no bar can be drawn.
    bool bar = progress;
    for (short k = 0; k < count_; k++) {
      const char* name = nameOf(k);
      if (range_ != nullptr) {
        if (!openRange(k)) return buildInputFailed;
        continue;
      }
      if (!openInput(*parsers_[k], dumps_[k]->openName())) {
        reportOpenFailure(name, errno);
        return buildInputFailed;
      }
      if (isStdinName(name)) bar = false;
      if (progress) std::printf("`%s'\n", name);
    }
    float totalSize = 0;
    for (short k = 0; k < count_; k++) totalSize += parsers_[k]->fileSize();
    // The merge changes only the ways of the graph's edges, so reader threads may find them.
    if (!ipv6_) readers_.findHopsIn(edges.graph(), edges.collapsesRepeats());
    readers_.start();

    // Every dump offers its first line; then each, in order, settles on its first route.
    // Positions are those before a dump skipped its unparseable lines, as the progress of
    // a merge cycle is taken before the lines are parsed.
    std::vector<bool> offered(dumps_.size());
    bool anyActive = false;
    for (short k = 0; k < count_; k++) {
      offered[k] = advance(k);
      anyActive = anyActive || offered[k];
    }
    // The positions are read only for the progress bar: asking a parser costs a call a route.
    for (short k = 0; k < count_ && !failed_; k++) {
      if (bar) countedPos_[k] = readers_.filePos(k);
      if (offered[k] && settle(k)) push(k);
    }
    if (failed_) return buildInputFailed;
    // A cycle runs while some dump holds a line, even when settling then drops them all; its
    // progress is drawn before it knows.
    short skipped = -1;  // -1: every dump settled during the first cycle
    while (anyActive) {
      if (bar) {
        printPercentage(positionSum(), totalSize);
        if (skipped == -1) {
          for (short k = 0; k < count_; k++) countedPos_[k] = readers_.filePos(k);
        } else {
          countedPos_[skipped] = readers_.filePos(skipped);
        }
      }
      if (heapSize_ == 0) break;
      // The chosen dump stays at the top while its route is credited; its next route then
      // sinks to its place, as one step rather than a removal and an insertion.
      const short chosen = heap_[0];
      if (!ipv6_) {
        credit(pipeline, chosen);
      } else {
        if (!credit6(edges, chosen)) return buildCountOverflow;
        if (report_ != nullptr) report_->countUsed(entries_[chosen], edges.takeReached());
      }
      bool more = advance(chosen);
      if (failed_) return buildInputFailed;
      if (bar) countedPos_[chosen] = readers_.filePos(chosen);
      skipped = chosen;
      if (more && settle(chosen)) {
        siftDownFirst();
      } else {
        removeFirst();
      }
      if (failed_) return buildInputFailed;
      anyActive = more || heapSize_ > 0;
    }
    // The report's counts of each dump are final once its routes are credited.
    pipeline.flush();
    if (bar) {
      printPercentage(totalSize, totalSize);
      std::fputs("\n", stdout);
    }
    // Every dump is at its end: no reader thread touches a parser any more.
    readers_.stop();
    if (range_ != nullptr) return rangeEndsWell() ? buildOk : buildInputFailed;
    if (report_ != nullptr) {
      for (short k = 0; k < count_; k++) report_->finishReading(entries_[k], *parsers_[k]);
    }
    return buildOk;
  }

  // Opens dump k for its range: the first from the start to its cut, the others from the cut
  // before them on, in the table the first reads up to it, to their cut or the end.
  bool openRange(short k) {
    const TableCuts& cuts = *range_->cuts;
    const std::size_t i = range_->index;
    if (!parsers_[k]->openFile(dumps_[k]->openName())) return false;
    if (range_->first()) return parsers_[k]->readOnlyPart(0, cuts.at[0][k]);
    const unsigned long long end = range_->last() ? ~0ull : cuts.at[i][k];
    return static_cast<BgpParser*>(parsers_[k])
        ->continueTable(cuts.columns[k], cuts.at[i - 1][k], end);
  }

  // True when dump k's route lies in the range: it starts at or above the range's first
  // address and ends below the next range's. Then no route of a later range can be taken
  // before one of this range, whatever the order within each, and no way's count depends on
  // the other ranges but by the sum.
  bool withinRange(short k) const {
    const TableCuts& cuts = *range_->cuts;
    const std::size_t i = range_->index;
    const IPPrefix& prefix = prefixes_[k];
    if (!range_->first() && prefix.address().value() < cuts.boundaries[i - 1]) return false;
    return range_->last() ||
           RememberedPrefix::of(prefix.address().value(), prefix.netmask().value()).last <
               cuts.boundaries[i];
  }

  // After a range but the last: every dump ended at its cut in the table, with the columns, the
  // next range took up, with no wrapped route cut short.
  bool rangeEndsWell() const {
    if (range_->last()) return true;
    for (short k = 0; k < count_; k++) {
      const BgpParser& table = *static_cast<const BgpParser*>(parsers_[k]);
      if (table.wrapCutByPart() || !table.inTable()) return false;
      if (table.columns() != range_->cuts->columns[k]) return false;
    }
    return true;
  }

  const char* nameOf(short k) const { return dumps_[k]->name.c_str(); }

  // The vantage point of each dump, in merge order.
  static std::vector<ASNumber> vantagesOf(const std::vector<InputFile>& inputs) {
    std::vector<ASNumber> vantages;
    for (const InputFile& input : inputs) {
      if (readInMerge(input)) vantages.push_back(input.vantage);
    }
    return vantages;
  }

  // The route dump k's last parsed line gave.
  Route& routeOf(short k) { return readers_.route(k); }

  // Moves dump k to its next line; false at its end. A read error stops the merge.
  bool advance(short k) {
    if (readers_.nextLine(k)) return true;
    if (readers_.readError(k) != 0) {
      if (range_ == nullptr) reportReadFailure(nameOf(k), readers_.readErrorText(k));
      failed_ = true;
    }
    return false;
  }

  // Parses dump k's current line, skipping lines that do not parse, and takes its prefix:
  // true when the dump has a route for the heap, false when it ran out of lines (it drops out
  // of the merge) or the merge failed.
  bool settle(short k) {
    for (;;) {
      if (readers_.parseLine(k)) break;
      if (verbose_) {
        reportParseError(readers_.lineNumber(k), readers_.lineText(k), readers_.reason(k),
                         nameOf(k), false);
      }
      if (report_ != nullptr) {
        report_->countFailure(entries_[k], readers_.reason(k), readers_.refusedForWidth(k),
                              countsOwn_[k]);
      }
      if (!advance(k)) return false;
    }
    const Route& route = routeOf(k);
    if (ipv6_) {
      prefixes6_[k] = route.network6;
      return true;
    }
    if (route.networkMask.has_value())
      prefixes_[k] = IPPrefix(route.network, *route.networkMask);
    else
      prefixes_[k] = IPPrefix(route.network);
    keys_[k] = orderKey(prefixes_[k]);
    if (range_ != nullptr && !withinRange(k)) {
      failed_ = true;
      return false;
    }
    return true;
  }

  float positionSum() const {
    float sum = 0;
    for (short k = 0; k < count_; k++) sum += static_cast<float>(countedPos_[k]);
    return sum;
  }

  bool before(short a, short b) const {
    if (ipv6_) {
      const IPv6Prefix& first = prefixes6_[a];
      const IPv6Prefix& second = prefixes6_[b];
      return first.before(second) || (first == second && a < b);
    }
    return keys_[a] < keys_[b] || (keys_[a] == keys_[b] && a < b);
  }

  // Hands the IPv4 route of dump k to be credited.
  void credit(CreditPipeline& pipeline, short k) {
    if (readers_.findsHops()) {
      std::size_t count = 0;
      const ASGraph::edge* hops = readers_.hops(k, count);
      pipeline.add(entries_[k], prefixes_[k], hops, count);
    } else if (readers_.readsAhead()) {
      pipeline.add(entries_[k], prefixes_[k], readers_.path(k), readers_.pathLength(k));
    } else if (readers_.pathInItems(k)) {
      std::size_t count = 0;
      const ASItem* items = readers_.pathItems(k, count);
      pipeline.add(entries_[k], prefixes_[k], items, count, dumps_[k]->vantage);
    } else {
      pipeline.add(entries_[k], prefixes_[k], routeOf(k).path, dumps_[k]->vantage);
    }
  }

  // Credits the IPv6 route of dump k; false after printing the way whose count would overflow.
  bool credit6(EdgeLookup& edges, short k) {
    ASNumber from = 0, to = 0;
    bool ok = false;
    if (readers_.readsAhead()) {
      ok =
          addIPv6Covering(edges, prefixes6_[k], readers_.path(k), readers_.pathLength(k), from, to);
    } else if (readers_.pathInItems(k)) {
      std::size_t count = 0;
      const ASItem* items = readers_.pathItems(k, count);
      ok = addIPv6Covering(edges, prefixes6_[k], items, count, dumps_[k]->vantage, from, to);
    } else {
      ok = addIPv6Covering(edges, prefixes6_[k], routeOf(k).path, dumps_[k]->vantage, from, to);
    }
    if (ok) return true;
    printHeader(stderr);
    std::fprintf(stderr,
                 "Error: the IPv6 covering of the way from AS %u to AS %u passes 2^64 - 1 units "
                 "of /64 (routes of `%s' cover the whole address space)\n",
                 static_cast<unsigned>(from), static_cast<unsigned>(to), nameOf(k));
    return false;
  }

  void push(short k) {
    int i = heapSize_++;
    while (i > 0 && before(k, heap_[(i - 1) / 2])) {
      heap_[i] = heap_[(i - 1) / 2];
      i = (i - 1) / 2;
    }
    heap_[i] = k;
  }

  // The dump at the top took a new route: it sinks to the place of its new prefix.
  void siftDownFirst() { sinkFromTop(heap_[0]); }

  // The dump at the top dropped out: the last one takes its place and sinks.
  void removeFirst() {
    const short last = heap_[--heapSize_];
    if (heapSize_ > 0) sinkFromTop(last);
  }

  void sinkFromTop(short k) {
    int i = 0;
    for (;;) {
      int child = 2 * i + 1;
      if (child >= heapSize_) break;
      if (child + 1 < heapSize_ && before(heap_[child + 1], heap_[child])) child++;
      if (!before(heap_[child], k)) break;
      heap_[i] = heap_[child];
      i = child;
    }
    heap_[i] = k;
  }

  const MergeRange* range_;
  std::vector<const InputFile*> dumps_;
  std::vector<int> entries_;  // each dump's entry in the input list and the report
  short count_;
  bool verbose_;
  BuildReport* report_;
  bool exact_;
  bool ipv6_;  // the routes are IPv6: prefixes6_ orders them and their units are counted
  const AddressRanges* ranges_;  // null: every address counts
  std::vector<const InputFormat*> formats_;
  std::vector<Parser*> parsers_;
  std::vector<bool> countsOwn_;  // the parser counts its own failures (skipStats)
  std::vector<IPPrefix> prefixes_;
  std::vector<IPv6Prefix> prefixes6_;  // an IPv6 run's prefixes, in place of prefixes_ and keys_
  std::vector<unsigned long long> keys_;
  // Each dump's position as the current cycle counts it.
  std::vector<unsigned long long> countedPos_;
  std::vector<short> heap_;
  int heapSize_;
  bool failed_;
  DumpReaders readers_;  // last: it stops reading before the parsers go
};

// At most this many ranges of a merge cut by address: enough that the thread that ends last
// waits for the other but a little, few enough that finding the cuts costs little.
constexpr std::size_t kMostRanges = 16;

// The merge made by two threads taking the ranges of addresses of a cut merge (see
// table_cuts.h) one at a time, in ascending order, each the next not yet taken, when every dump
// is a large router table in a plain file, nothing is printed line by line, and the covering is
// IPv4 and starts from nothing. One thread credits the build's graph, the other a graph of the
// same nodes and edges added to it at the end: as each thread's ranges ascend, and no route of
// one range holds an address of another, each way counts the sum of its ranges. Each range
// counts into a report of its own, added in the order of the ranges, as their routes come in
// one merge. False, with the graph as it was and nothing printed or counted, when the merge was
// not cut or a range could not stand for its part: a route outside it, a table that changed
// between the ranges, a file that failed. The merge is then read as one, which reports any
// failure.
bool mergeInRanges(const std::vector<InputFile>& inputs, const BuildOptions& options,
                   EdgeLookup& edges, BuildReport* report,
                   const std::vector<AddressOrder>& addressOrders) {
  if (options.threads < 2 || options.verbose || options.progress ||
      options.family != AddressFamily::ipv4)
    return false;
  std::vector<const InputFile*> dumps;
  for (const InputFile& input : inputs) {
    if (readInMerge(input)) dumps.push_back(&input);
  }
  ASGraph& graph = edges.graph();
  // Ways that count nothing yet are put back by clearing them, with no copy of the graph's.
  if (holdsIPCovering(graph)) return false;
  const std::optional<TableCuts> cuts = cutTables(dumps, options.minPartBytes, kMostRanges);
  if (!cuts) return false;
  BuildOptions rangeOptions = options;
  rangeOptions.threads = options.threads / 2;
  const int entries = report != nullptr ? report->size() : 0;
  const std::size_t count = cuts->ranges();
  std::vector<MergeRange> ranges(count);
  std::vector<BuildReport> reports;
  reports.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    ranges[i] = MergeRange{&*cuts, i};
    reports.emplace_back(entries);
  }
  // Each range's merge is gone once it ends, but the first's, whose parsers finish the report.
  std::unique_ptr<DumpMerge> first;
  std::vector<std::vector<std::uint64_t>> unitsRead(count);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  auto mergeRanges = [&](EdgeLookup& into) {
    for (std::size_t i = next++; i < count && !failed; i = next++) {
      auto merge = std::make_unique<DumpMerge>(inputs, rangeOptions,
                                               report != nullptr ? &reports[i] : nullptr,
                                               addressOrders, &ranges[i]);
      if (merge->run(0, false, into) != buildOk) failed = true;
      for (short k = 0; k < merge->count(); ++k)
        unitsRead[i].push_back(merge->parser(k).unitsRead());
      if (i == 0) first = std::move(merge);
    }
  };
  ASGraph other;
  std::thread helper = helper_thread::start([&] {
    copyForCovering(graph, other, options.exactCovering);
    EdgeLookup otherEdges(other, options.noSelfLoops);
    mergeRanges(otherEdges);
  });
  // Refused a thread, the merge is read as one, with nothing read or changed yet.
  if (!helper.joinable()) return false;
  mergeRanges(edges);
  helper.join();
  if (failed) {
    clearIPCovering(graph, options.exactCovering);
    return false;
  }
  addRangesCovering(graph, other, options.exactCovering);
  if (report != nullptr) {
    for (short k = 0; k < first->count(); ++k) {
      const int entry = first->entry(k);
      std::uint64_t units = 0;
      for (std::size_t i = 0; i < count; ++i) {
        report->addReading(entry, reports[i].entry(entry));
        units += unitsRead[i][k];
      }
      report->finishReading(entry, first->parser(k), units);
    }
  }
  return true;
}

}  // namespace

int mergeDumps(const std::vector<InputFile>& inputs, const BuildOptions& options, ASGraph& graph,
               BuildReport* report, const std::vector<AddressOrder>& addressOrders) {
  if (options.exactCovering) startExactCovering(graph);
  EdgeLookup edges(graph, options.noSelfLoops);
  if (mergeInRanges(inputs, options, edges, report, addressOrders)) return buildOk;
  DumpMerge merge(inputs, options, report, addressOrders);
  // The merge is the step after the files read one by one.
  short step = 1;
  for (const InputFile& input : inputs) {
    if (!readInMerge(input)) ++step;
  }
  return merge.run(step, options.progress, edges);
}
