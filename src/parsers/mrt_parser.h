// Reader of MRT routing data (format letter m) for graph construction: every RIB entry (one per
// peer) and every prefix an UPDATE announces is one record, IPv4 and IPv6 alike. Decoding is the
// MrtReader's; this class hands its entries to graph construction, one per nextLine.
//
// First pass (n, e, c): a record is an AS path, used as one line of a path list.
// Second pass (i, setRouteMode): a record is an IPv4 RIB entry, a route of its network with its
// peer's path, handed out in the merge's order (lower address first, then the longer prefix,
// entries of one prefix in file order). Collectors write RIBs with addresses ascending but a
// shorter prefix before a longer one of the same address, so the entries of one address are
// held back and put in order. A file whose addresses do not ascend is found out by reading it
// once beforehand, and then read whole and sorted; so is standard input, which cannot be read
// twice. Memory then grows with the file's IPv4 RIB entries.
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
#include "parsers/parser.h"
#include "parsers/route.h"

class mrtParser : public Parser {
 public:
  mrtParser();
  ~mrtParser() override;

  // The second pass's reading: IPv4 RIB entries only, in the merge's order. Set before reading.
  void setRouteMode(bool on) { routeMode_ = on; }

  // Moves to the next record. 0 with one ready, 1 at the end of the input (or on a read error,
  // see readError), 2 with "No file has been opened".
  next_line_result nextLine() override;
  // 0 with `entry` (first pass) or `data` (second pass) ready; 3 for a record to refuse, with
  // errReason set; 2 and 5 as every parser.
  parse_result parseLine() override;
  // Records passed over or refused, by reason, since the input was opened.
  const ReadStats* skipStats() const override { return &stats_; }

  MrtEntry entry;              // the first pass's record
  Route data; // the second pass's route

 private:
  // The parser's own input as the MRT reader's byte source.
  class Input : public ByteSource {
   public:
    explicit Input(mrtParser& owner) : owner_(owner) {}
    long read(void* out, std::size_t n) override { return owner_.readBytes(out, n); }
    const char* errReason() const override { return owner_.readErrorText(); }

   private:
    mrtParser& owner_;
  };
  // Damaged records, queued as the reader meets them so that each is delivered in turn.
  class Problems : public MrtProblemListener {
   public:
    void skippedDamaged(const char* text) override { queued.emplace_back(text); }
    std::vector<std::string> queued;
  };
  // A route held back to be put in order: its place, its prefix and its path in the arena.
  struct Held {
    std::uint64_t key;      // the network address, then the longer prefix first
    std::uint32_t address;  // the network address, host bits cleared
    std::uint32_t written;  // the address as the file wrote it
    std::uint8_t length;
    std::uint32_t pathStart;
    std::uint32_t pathLength;
  };
  enum class Next { entry, refused, end };

  void startReading();
  bool addressesAscend(const std::string& path);
  Next readEntry();
  // After a status other than entry: the record that ends the reading, if it must be reported.
  Next endOfEntries(MrtStatus status);
  Next readRoute();
  void fillHeld();
  void holdEntry(const MrtEntry& route);
  Next deliverHeld();
  // Refuses the record when its path holds an AS number the run does not accept.
  bool refuseAS(const std::vector<ASNumber>& path);
  void refuse(const std::string& reason, const char* countedUnder);

  bool routeMode_ = false;
  bool started_ = false;
  bool sortWhole_ = false;  // the file is read whole and sorted
  Input input_{*this};
  Problems problems_;
  std::unique_ptr<MrtReader> reader_;
  ReadStats stats_;
  bool readerDone_ = false;
  bool entryHeld_ = false;      // first pass: an entry waits behind reports of damaged records
  std::string pendingRefusal_;  // the reason parseLine gives the current record, if any
  std::string endPending_;      // second pass: the report that ends the reading, after the held
  std::vector<Held> held_;
  std::vector<ASNumber> arena_;
  std::size_t nextHeld_ = 0;
  bool carried_ = false;  // carriedEntry_ begins the next group
  MrtEntry carriedEntry_;
  std::vector<ASNumber> path_;  // the delivered route's path
};

#endif  // ZELGRIN_PARSERS_MRT_PARSER_H
