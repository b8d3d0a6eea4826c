// The reading side of the dump merge: each dump's parser stepped line by line, either in place
// (one thread) or by reader threads that run ahead of the merge and hand it what each step gave
// through a bounded queue per dump. Either way the merge sees, dump by dump, the same sequence of
// lines, routes, failures, positions and read errors, so that its output cannot depend on the
// number of threads; only the main thread prints. Used by the dump merge, and by the first pass
// for the files whose records are paths (InputFormat::pathOf), which it reads the same way.
#ifndef ZELGRIN_BUILD_DUMP_READERS_H
#define ZELGRIN_BUILD_DUMP_READERS_H

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "build/edge_lookup.h"
#include "build/input_formats.h"
#include "parsers/parser.h"
#include "parsers/route.h"

class DumpReaders {
 public:
  // Steps `parsers` (filled, opened, and not read yet, when start is called), whose routes are read
  // through `formats`. With threads > 1, up to threads - 1 reader threads read ahead. With
  // keepLines, the text of each line that fails to parse is kept for lineText.
  // What a reader thread keeps of a parsed record, with the vantage of each dump in `vantages`:
  // the route's network (routeOf) and the ASes its covering walks (coveredPathASes), or only
  // its path (pathOf).
  enum class Capture { routes, paths };

  // With keepPositions, filePos follows the parser's; without it, filePos is 0 while reading
  // ahead (the positions serve only a progress bar).
  DumpReaders(const std::vector<Parser*>& parsers, const std::vector<const InputFormat*>& formats,
              int threads, bool keepLines, bool keepPositions, Capture capture = Capture::routes,
              std::vector<ASNumber> vantages = {});
  // Stops the reader threads, if any: the parsers are free once it returns.
  ~DumpReaders() { stop(); }
  DumpReaders(const DumpReaders&) = delete;
  DumpReaders& operator=(const DumpReaders&) = delete;

  // Before start, capturing routes: the reader threads also find the edges of each route's
  // covering walk in `graph` (see hops), which must keep its nodes and edges while they read.
  void findHopsIn(ASGraph& graph, bool collapseRepeats);
  // Starts the reader threads. Call once, after every parser was opened.
  void start();
  // Stops the reader threads; after it no thread but the caller's touches a parser.
  void stop();

  // As the parser's nextLine: true when dump k has a line ready, false at its end or after a
  // read error (readError).
  // Reading in place, these three call the parser straight away, once or twice a route.
  bool nextLine(std::size_t k) {
    return ahead_ ? nextLineAhead(k) : parsers_[k]->nextLine() == Parser::lineReady;
  }
  // As the parser's parseLine on the line nextLine made ready: true when it gave a route.
  bool parseLine(std::size_t k) {
    return ahead_ ? parseLineAhead(k) : parsers_[k]->parseLine() == Parser::parseOk;
  }
  // The route the last successful parseLine gave: its network and mask are those the parser
  // held, and so is its path when reading in place; read ahead, see path.
  Route& route(std::size_t k) {
    return ahead_ ? dumps_[k].route : formats_[k]->routeOf(*parsers_[k]);
  }
  // True when reader threads read ahead; then, capturing paths, the path the last successful
  // parseLine gave is `pathLength` ASes at `path` (valid until the next nextLine of dump k).
  // Reading in place, the parser holds the record.
  bool readsAhead() const { return ahead_; }
  // Reading in place, capturing routes: true when dump k's parser holds its paths as an array
  // alone (see Parser::leavePathList), which pathItems then gives.
  bool pathInItems(std::size_t k) const { return itemPaths_[k]; }
  const ASItem* pathItems(std::size_t k, std::size_t& count) const {
    return parsers_[k]->pathItems(count);
  }
  // Read ahead, capturing routes, path and pathLength give the ASes the walk of the covering
  // goes through for the route's path (coveredPathASes).
  const ASNumber* path(std::size_t k) const;
  std::size_t pathLength(std::size_t k) const;
  // True when reading ahead with findHopsIn: then hops gives the `count` edges findWalkHops
  // found for path, one a hop.
  bool findsHops() const { return ahead_ && hopsGraph_ != nullptr; }
  const ASGraph::edge* hops(std::size_t k, std::size_t& count) const {
    const std::size_t length = dumps_[k].step->pathLength;
    count = length > 0 ? length - 1 : 0;
    return dumps_[k].current->hops.data() + dumps_[k].itemBegin;
  }
  // The parser's filePos after the last nextLine or parseLine (see keepPositions).
  unsigned long long filePos(std::size_t k) const;
  // After a failed parseLine: the parser's readLines, currentLine (empty without keepLines),
  // errReason and refusedForWidth.
  unsigned long lineNumber(std::size_t k) const;
  const char* lineText(std::size_t k) const;
  const char* reason(std::size_t k) const;
  bool refusedForWidth(std::size_t k) const;
  // After nextLine returned false: the parser's readError and readErrorText.
  int readError(std::size_t k) const;
  const char* readErrorText(std::size_t k) const;

 private:
  // One nextLine and, when it gave a line, the parseLine that followed it. Millions of steps
  // pass from a reader thread to the merge, so a step holds only what every step needs; the
  // rest is in the batch's side lists, taken in step order: a route's network and path, the
  // details of a failure or an end, and the file positions (only when they are kept).
  enum class StepKind : std::uint8_t { parsed, failed, ended };
  struct Step {
    StepKind kind = StepKind::parsed;
    bool ipv6 = false;             // parsed route: its network is in networks6
    std::uint32_t pathLength = 0;  // parsed: its ases
  };
  // A failed parse (the line and the reason) or the end of the input (the read error and its
  // text); texts are offsets in the batch's text, each followed by a NUL.
  struct Detail {
    unsigned long lineNumber = 0;
    bool refusedForWidth = false;
    int readError = 0;
    std::size_t lineAt = 0, reasonAt = 0;
  };
  // The parser's filePos after the step's nextLine and after its parseLine.
  struct Positions {
    unsigned long long afterNext = 0, afterParse = 0;
  };
  // An IPv4 route's network, as its parser gave it.
  struct Network {
    IPAddress address;
    std::optional<IPNetmask> mask;
  };
  // Consecutive steps of one dump.
  struct Batch {
    std::vector<Step> steps;
    std::vector<Positions> positions;   // one a step, when kept
    std::vector<Detail> details;        // one a failed or ended step
    std::vector<Network> networks;      // one an IPv4 route
    std::vector<IPv6Prefix> networks6;  // one an IPv6 route
    std::vector<ASNumber> ases;         // the paths, or the ASes of the routes' covering walks
    std::vector<ASGraph::edge> hops;    // with findHopsIn, a route's at the place of its ases
    std::string text;
    // Full at `scale` times the steps and paths of a merge's batch.
    bool full(std::size_t scale) const;
    void clear();
  };
  // The batches read ahead of the merge in one dump: a few, in order.
  static constexpr std::size_t kBatchesAhead = 4;
  class BatchRing {
   public:
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // REQUIRES: size() < kBatchesAhead.
    void push_back(std::unique_ptr<Batch> batch) {
      slots_[(first_ + count_++) % kBatchesAhead] = std::move(batch);
    }
    // REQUIRES: !empty().
    std::unique_ptr<Batch> take_front() {
      std::unique_ptr<Batch> batch = std::move(slots_[first_]);
      first_ = (first_ + 1) % kBatchesAhead;
      --count_;
      return batch;
    }

   private:
    std::array<std::unique_ptr<Batch>, kBatchesAhead> slots_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
  };
  // What the merge is at in one dump, and the batches read ahead of it.
  struct Dump {
    std::unique_ptr<Batch> current;  // the batch the merge reads; null before the first
    std::size_t next = 0;            // its step after the current one
    const Step* step = nullptr;      // the current step
    // The current step's place in the side lists, and where the next step's begin.
    const Detail* detail = nullptr;
    std::size_t itemBegin = 0, itemCursor = 0;
    std::size_t networkCursor = 0, network6Cursor = 0, detailCursor = 0;
    unsigned long long position = 0;
    Route route;           // the current route, copied out of the batch
    BatchRing ready;       // read ahead, in order
    bool claimed = false;  // a thread is reading a batch of it
    bool ended = false;    // its last step is read
  };

  bool nextLineAhead(std::size_t k);
  bool parseLineAhead(std::size_t k);
  // Reads the next batch of dump k into `batch`, finding its hops with `edges` when given; true
  // when it holds the dump's last step.
  // REQUIRES: the caller has claimed dump k.
  bool readBatch(std::size_t k, Batch& batch, EdgeLookup* edges);
  bool readSteps(std::size_t k, Batch& batch);
  static void findHops(Batch& batch, EdgeLookup& edges);
  // An EdgeLookup of its own for a thread that reads batches, or null without findHopsIn.
  std::unique_ptr<EdgeLookup> hopsLookup() const;
  // Claims dump k, reads its next batch with `lock` released, and queues it.
  // REQUIRES: `lock` holds mutex_, dump k is unclaimed, not ended, and has room.
  void readAhead(std::size_t k, std::unique_lock<std::mutex>& lock, EdgeLookup* edges);
  // Takes the next batch of dump k, waiting for it, or reading it when no thread is at it.
  void takeBatch(std::size_t k);
  // The unclaimed dump with room that has the fewest batches read ahead, or dumps_.size().
  // REQUIRES: mutex_ held.
  std::size_t neediest() const;
  // The reader threads' loop: reads a batch of the dump with the fewest read ahead, until stop.
  void work();
  std::unique_ptr<Batch> spareBatch();

  const std::vector<Parser*>& parsers_;
  const std::vector<const InputFormat*>& formats_;
  const int threads_;
  const bool keepLines_;
  const bool keepPositions_;
  const Capture capture_;
  const std::vector<ASNumber> vantages_;
  bool ahead_ = false;           // the steps are read ahead in batches (threads > 1)
  std::vector<bool> itemPaths_;  // per dump: its parser holds paths in pathItems alone
  ASGraph* hopsGraph_ = nullptr;
  bool collapseRepeats_ = false;
  std::unique_ptr<EdgeLookup> mergeLookup_;  // the merge's thread's, when it reads a batch
  std::vector<Dump> dumps_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;  // guards the dumps' ready, claimed and ended, spare_ and stopping_
  std::condition_variable workToDo_;    // room in some dump's queue, or stopping
  std::condition_variable batchReady_;  // a batch joined some dump's queue
  std::vector<std::unique_ptr<Batch>> spare_;
  bool stopping_ = false;
};

#endif  // ZELGRIN_BUILD_DUMP_READERS_H
