// Reader of AS relationship files as they are published (format letter r). Graph construction
// reads each record like a relationship of the `v` format: a customer and its provider, or two
// peers. Two dialects, decided once per file by its first data line: with a "|" it is CAIDA's,
// else SNAP's blank-separated copy.
//   CAIDA serial-1  "<provider>|<customer>|-1" or "<peer>|<peer>|0"       e.g. "701|1239|-1"
//   CAIDA serial-2  the same with the source as a fourth field             e.g. "701|1239|-1|bgp"
//                   Older CAIDA files mark siblings with 1: read as peers.
//   SNAP            "<from> <to> <rel>", the relation seen from the first AS: -1 it is a customer
//                   of the second, 1 its provider, 0 peers, 2 siblings (passed over and counted,
//                   as a sibling is neither a customer nor a peer).
// Lines starting with "#", blank lines and legend lines (whose first word is not an AS number,
// such as SNAP's "   -1 (<FromNodeId> is a customer of <ToNodeId>)") are skipped silently. AS
// numbers are asplain, or asdot in a 32-bit run.
#ifndef ZELGRIN_PARSERS_ASREL_PARSER_H
#define ZELGRIN_PARSERS_ASREL_PARSER_H

#include <string>

#include "asgraph/as_number.h"
#include "parsers/parser.h"
#include "parsers/read_stats.h"

class AsrelParser : public Parser {
 public:
  // Reasons under which stats() counts the relationship lines that give no record.
  static constexpr const char* siblingLink = "sibling";
  static constexpr const char* malformedLine = "malformed line";
  static constexpr const char* nulLine = "line holding a NUL byte";

  struct ParsedData {
    ASNumber from = 0;     // the customer when not peering
    ASNumber to = 0;       // the provider when not peering
    bool peering = false;  // peers (or CAIDA siblings)
  };

  AsrelParser() = default;
  ~AsrelParser() override = default;

  // Moves to the next relationship line, passing over comments, legends and SNAP siblings.
  // 0 with the line ready, 1 at the end of the input, 2 with "No file has been opened".
  NextLineResult nextLine() override;
  // The outcome of the line nextLine read: 0 with `data` filled; 3 for an invalid AS number, an
  // AS number above 65535 in a 16-bit run or an unknown relationship, 4 for a missing field,
  // with errReason set; 2 and 5 as every parser.
  ParseResult parseLine() override;

  // Relationship lines that gave no record since the input was opened, by reason: siblings, and
  // lines delivered for parseLine to reject (malformedLine, or kAboveAS16Reason for an AS number
  // above 65535). Records given are not counted here. Cleared by the first nextLine after an open.
  const ReadStats& stats() const { return stats_; }
  const ReadStats* skipStats() const override { return &stats_; }
  const char* passedOverReason() const override { return kBlankOrComment; }

  ParsedData data;

 private:
  enum class Dialect { unknown, caida, snap };
  enum class Outcome { record, sibling, rejected };

  Outcome readRelationship(const char* text, std::size_t length);
  Outcome readCaida(const char* text, std::size_t length);
  Outcome readSnap(const char* text, std::size_t length);
  bool readAS(const char* text, std::size_t length, ASNumber& as);
  Outcome reject(ParseResult code, const char* reason, const char* text = nullptr,
                 std::size_t length = 0);

  Dialect dialect_ = Dialect::unknown;
  ReadStats stats_;
  ParseResult lineCode_ = parseOk;
  std::string lineReason_;
  const char* countedReason_ = nullptr;
};

#endif  // ZELGRIN_PARSERS_ASREL_PARSER_H
