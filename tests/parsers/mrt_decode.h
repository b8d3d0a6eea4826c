// Runs the MRT reader over bytes held in memory and gives back everything it said as text, so
// that the reader's tests compare whole outcomes with one expectation.
#ifndef ZELGRIN_TESTS_PARSERS_MRT_DECODE_H
#define ZELGRIN_TESTS_PARSERS_MRT_DECODE_H

#include <cstdio>
#include <string>
#include <vector>

#include "parsers/mrt_reader.h"

// PREFIX|PEER_AS|PATH as bench/mrt_vs_bgpdump.py writes it: IPv6 as eight hex groups.
inline std::string entryText(const MrtEntry& entry) {
  char text[80];
  if (entry.family == MrtFamily::ipv4) {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u/%u|%u|", entry.prefixV4 >> 24,
                  (entry.prefixV4 >> 16) & 255, (entry.prefixV4 >> 8) & 255, entry.prefixV4 & 255,
                  entry.prefixLength, entry.peerAS);
  } else {
    std::string groups;
    for (int i = 0; i < 16; i += 2) {
      char group[8];
      std::snprintf(group, sizeof group, "%s%x", i ? ":" : "",
                    (entry.prefixV6[i] << 8) | entry.prefixV6[i + 1]);
      groups += group;
    }
    std::snprintf(text, sizeof text, "%s/%u|%u|", groups.c_str(), entry.prefixLength, entry.peerAS);
  }
  std::string line = text;
  for (std::size_t i = 0; i < entry.path.size(); ++i) {
    line += (i ? " " : "") + std::to_string(entry.path[i]);
  }
  return line;
}

struct MrtOutcome {
  std::vector<std::string> entries;  // entryText, with "A " or "B " for announcement or RIB
                                     // entry and " {}" after a path that lost a segment
  std::vector<std::string> problems;
  MrtStatus status = MrtStatus::end;
  std::string reason;
  ReadStats stats;
  std::uint64_t repaired = 0;
  bool wideSeen = false;
};

class CollectProblems : public MrtProblemListener {
 public:
  explicit CollectProblems(std::vector<std::string>& into) : into_(into) {}
  void skippedDamaged(const char* text) override { into_.push_back(text); }

 private:
  std::vector<std::string>& into_;
};

inline MrtOutcome decodeAll(ByteSource& source) {
  MrtOutcome outcome;
  MrtReader reader(source, &outcome.stats);
  CollectProblems problems(outcome.problems);
  reader.setProblemListener(&problems);
  MrtEntry entry;
  while ((outcome.status = reader.next(entry)) == MrtStatus::entry ||
         outcome.status == MrtStatus::damaged) {
    if (outcome.status == MrtStatus::damaged) continue;
    outcome.entries.push_back((entry.kind == MrtEntryKind::announcement ? "A " : "B ") +
                              entryText(entry) + (entry.droppedSegments ? " {}" : ""));
    outcome.wideSeen = outcome.wideSeen || entry.pathHasWideAS;
  }
  outcome.reason = reader.errReason();
  outcome.repaired = reader.repairedRecords();
  if (reader.next(entry) != MrtStatus::end) outcome.reason += " (and no end after it)";
  return outcome;
}

inline MrtOutcome decodeAll(const std::string& bytes) {
  MemoryByteSource source(bytes.data(), bytes.size());
  return decodeAll(source);
}

#endif  // ZELGRIN_TESTS_PARSERS_MRT_DECODE_H
