// Reader of MRT routing data (format letter m) for graph construction: every RIB entry (one per
// peer) and every prefix an UPDATE announces is one record, of the run's family only. Decoding is
// the MrtReader's; this class hands its entries to graph construction, one per nextLine.
//
// Only the entries of the run's family (Parser::family) are read; the others are passed over and
// counted. An IPv4 run takes IPv4 multicast entries as unicast; an IPv6 run passes over IPv6
// multicast (its RIB subtypes, and MP_REACH_NLRI of SAFI 2).
// First pass (n, e, c): a record is an AS path, used as one line of a path list.
// Second pass (i, setRouteMode): a record is a RIB entry, a route of its network with its
// peer's path, handed out in the merge's order through RouteGroups (see route_groups.h). A
// regular file is read once beforehand to learn whether its addresses ascend; one that does not,
// and any input that cannot be read twice (standard input, a pipe), is held whole. An IPv6 route
// comes with data.family ipv6 and its network in data.network6.
//
// With a time window (Parser::setTimeWindow), an entry whose record header is stamped outside it
// is passed over and counted: for TABLE_DUMP_V2 RIB entries that is the time of the dump, not
// the time each route was learnt.
//
// An entry naming an AS number the run does not accept (above 65535 without --as32, or 0), a
// damaged record and a file that is not MRT at all are delivered for parseLine to refuse, so
// that -v reports them (with the record's byte offset) and skipStats counts them.
#ifndef ZELGRIN_PARSERS_MRT_PARSER_H
#define ZELGRIN_PARSERS_MRT_PARSER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "parsers/byte_source.h"
#include "parsers/mrt_entry.h"
#include "parsers/mrt_reader.h"
#include "parsers/mrt_route_sort.h"
#include "parsers/order_learner.h"
#include "parsers/parser.h"
#include "parsers/route.h"
#include "parsers/route_groups.h"

class MrtParser : public Parser {
 public:
  MrtParser();
  ~MrtParser() override;

  // The second pass's reading: RIB entries only, in the merge's order. Set before reading.
  void setRouteMode(bool on) { routeMode_ = on; }
  // The memory the second pass's sorting holds before it spills to a temporary file (tests and
  // fuzzing make it small). Set before reading.
  void setSortMemory(std::size_t bytes) override { sortMemory_ = bytes; }

  // Moves to the next record. 0 with one ready, 1 at the end of the input (or on a read error,
  // see readError), 2 with "No file has been opened".
  NextLineResult nextLine() override;
  // 0 with `entry` (first pass) or `data` (second pass) ready; 3 for a record to refuse, with
  // errReason set; 2 and 5 as every parser.
  ParseResult parseLine() override;
  // Records passed over or refused, by reason, since the input was opened.
  const ReadStats* skipStats() const override { return &stats_; }
  // The entries handed out or refused, and the records the reader passed over whole (each
  // counted once, whatever number of prefixes it holds), so that read = used + skipped.
  unsigned long long unitsRead() const override;

  AddressOrder addressOrderSeen() const override;
  void setAddressOrderKnown(const AddressOrder& order) override { knownOrder_ = order; }

  MrtEntry entry;  // the first pass's record
  Route data;      // the second pass's route

 private:
  // The parser's own input as the MRT reader's byte source.
  class Input : public ByteSource {
   public:
    explicit Input(MrtParser& owner) : owner_(owner) {}
    long read(void* out, std::size_t n) override { return owner_.readBytes(out, n); }
    const char* errReason() const override { return owner_.readErrorText(); }

   private:
    MrtParser& owner_;
  };
  // The text of the damaged record the reader has just passed over.
  class Problems : public MrtProblemListener {
   public:
    void skippedDamaged(const char* text) override { last.assign(text); }
    std::string last;
  };
  enum class Next { entry, refused, end };

  void startReading();
  bool addressesAscend(const std::string& path);
  template <class Prefix>
  bool addressesAscendIn(MrtReader& scan);
  Next readEntry();
  // After a status other than entry or damaged: the record that ends the reading, if it must
  // be reported.
  Next endOfEntries(MrtStatus status);
  template <class Prefix>
  Next readRoute(RouteGroups<Prefix>& groups);
  template <class Prefix>
  Next failSort(const RouteGroups<Prefix>& groups);
  // Refuses the record when its path holds an AS number the run does not accept.
  bool refuseAS(const ASNumber* path, std::size_t length);
  void refuse(const std::string& reason, const char* countedUnder);

  // First pass: follows the order of the entries the merge would take, as its check does.
  void learnOrder(const MrtEntry& seen);

  bool routeMode_ = false;
  OrderLearner orderLearner_;  // first pass
  AddressOrder knownOrder_;    // second pass: learnt by the first
  std::size_t sortMemory_ = MrtRouteSort::kDefaultMemory;
  bool started_ = false;
  Input input_{*this};
  Problems problems_;
  std::unique_ptr<MrtReader> reader_;
  // Second pass: the groups of the run's family.
  std::unique_ptr<RouteGroups<MrtIPv4Prefix>> groups4_;
  std::unique_ptr<RouteGroups<IPv6Prefix>> groups6_;
  ReadStats stats_;
  bool readerDone_ = false;
  unsigned long long endRefusals_ = 0;  // the refusals that end a reading (not an MRT file...)
  std::string pendingRefusal_;          // the reason parseLine gives the current record, if any
  std::string endPending_;  // second pass: the report that ends the reading, after the held
};

#endif  // ZELGRIN_PARSERS_MRT_PARSER_H
