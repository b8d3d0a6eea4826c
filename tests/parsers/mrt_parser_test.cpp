#include "parsers/mrt_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/mrt_writer.h"
#include "parsers/route_text.h"
#include "parsers/temp_files.h"

using namespace mrtw;

namespace {

Bytes path4(std::initializer_list<std::uint32_t> ases) {
  return asPathAttribute(sequence(ases, 4));
}

// A RIB of one peer: one record per (address, length), each with the given path.
Bytes rib(std::initializer_list<std::pair<std::vector<unsigned>, unsigned>> prefixes) {
  Bytes file = peerIndexTable({{701, true, false}});
  for (const auto& p : prefixes) {
    Bytes bytes;
    bytes.u8(p.second);
    for (unsigned i = 0; i < (p.second + 7) / 8; ++i) bytes.u8(p.first[i]);
    file.add(ribRecord(2, bytes, {ribEntry(0, path4({701, 100 + p.second}))}));
  }
  return file;
}

// Each delivered record as "prefix path" (route mode) or "path" (first pass), a refused one as
// "refused: reason".
// With `stats`, then the records passed over, as "skipped: REASON xN" in the order of the reasons.
std::vector<std::string> readAll(const Bytes& file, bool routeMode,
                                 std::size_t sortMemory = MrtRouteSort::kDefaultMemory,
                                 std::string* readError = nullptr,
                                 AddressFamily family = AddressFamily::ipv4, bool stats = false) {
  TempFiles files;
  MrtParser parser;
  parser.setRouteMode(routeMode);
  parser.setFamily(family);
  parser.setSortMemory(sortMemory);
  EXPECT_TRUE(parser.openFile(files.write(file.str()).c_str()));
  std::vector<std::string> out;
  while (parser.nextLine() == Parser::lineReady) {
    if (parser.parseLine() != Parser::parseOk) {
      out.push_back(std::string("refused: ") + parser.errReason());
      continue;
    }
    std::string text;
    if (routeMode) {
      text = routeText(parser.data);
    } else {
      for (ASNumber as : parser.entry.path) text += (text.empty() ? "" : " ") + std::to_string(as);
    }
    out.push_back(text);
  }
  if (readError != nullptr) *readError = parser.readErrorText();
  const ReadStats& skipped = *parser.skipStats();
  for (int i = 0; stats && i < skipped.reasonCount(); ++i) {
    out.push_back(std::string("skipped: ") + skipped.reason(i) + " x" +
                  std::to_string(skipped.count(i)));
  }
  return out;
}

// The second pass hands routes out in the merge's order: collectors write a shorter prefix
// before a longer one of the same address, and a file may be out of order altogether.
TEST(MrtParserTest, RoutesComeInTheMergesOrder) {
  struct Case {
    const char* name;
    Bytes file;
    std::vector<std::string> routes;
  } cases[] = {
      {"in order", rib({{{10}, 8}, {{11}, 8}}), {"10.0.0.0/8 701 108", "11.0.0.0/8 701 108"}},
      {"shorter first at one address",
       rib({{{10}, 8}, {{10, 0}, 16}, {{10, 0, 0}, 24}, {{10, 1}, 16}}),
       {"10.0.0.0/24 701 124", "10.0.0.0/16 701 116", "10.0.0.0/8 701 108", "10.1.0.0/16 701 116"}},
      {"addresses descending",
       rib({{{12}, 8}, {{10, 5}, 16}, {{10}, 8}, {{11}, 8}}),
       {"10.0.0.0/8 701 108", "10.5.0.0/16 701 116", "11.0.0.0/8 701 108", "12.0.0.0/8 701 108"}},
      {"default route", rib({{{}, 0}, {{10}, 8}}), {"0.0.0.0/0 701 100", "10.0.0.0/8 701 108"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readAll(c.file, true), c.routes) << c.name;
    // Room for one route: every route is a run of its own on disk, merged back in order.
    EXPECT_EQ(readAll(c.file, true, 1), c.routes) << c.name << ", spilled";
  }
}

// A file cut inside a record fails its reading, naming where, in both passes; whole records
// before the cut were delivered.
TEST(MrtParserTest, CutFileIsReadError) {
  const std::string whole = rib({{{10}, 8}, {{11}, 8}}).str();
  const struct {
    std::size_t cut;
    const char* error;
  } cases[] = {
      {whole.size() - 3, "MRT record at byte 78: cut short (29 bytes declared, 26 present)"},
      {whole.size() - 35, "MRT record at byte 78: header cut short (6 of 12 bytes)"},
      {whole.size(), ""},
  };
  for (const auto& c : cases) {
    Bytes cut;
    cut.data.assign(whole.begin(), whole.begin() + static_cast<long>(c.cut));
    for (bool routeMode : {false, true}) {
      std::string error;
      readAll(cut, routeMode, MrtRouteSort::kDefaultMemory, &error);
      EXPECT_EQ(error, c.error) << c.cut << (routeMode ? " routes" : " entries");
    }
  }
}

// A path naming an AS the run does not accept, a damaged record and a file that is not MRT are
// delivered only to be refused with a reason.
TEST(MrtParserTest, RecordsToRefuse) {
  Bytes wide = rib({{{10}, 8}});
  wide.add(ribRecord(2, Bytes().u8(8).u8(11), {ribEntry(0, path4({701, 4200000001u}))}));
  Bytes damaged = rib({{{10}, 8}});
  damaged.add(record(13, 2, Bytes().u32(1).u8(8).u8(11).u16(1).u16(0).u32(0).u16(40)));
  struct Case {
    const char* name;
    Bytes file;
    bool routeMode;
    std::vector<std::string> out;
  } cases[] = {
      {"AS above 65535",
       wide,
       false,
       {"701 108", "refused: AS number above 65535 (use --as32): `4200000001'"}},
      {"not MRT",
       Bytes().u32(0x74686973).u32(0x20697320).u32(0x74657874),
       false,
       {"refused: Not an MRT file: "}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> out = readAll(c.file, c.routeMode);
    // The reason after "Not an MRT file: " is the reader's own wording.
    for (std::string& line : out) {
      if (line.rfind("refused: Not an MRT file: ", 0) == 0) line.resize(26);
    }
    EXPECT_EQ(out, c.out) << c.name;
  }
  const std::vector<std::string> out = readAll(damaged, false);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], "701 108");
  EXPECT_EQ(out[1].rfind("refused: record at byte ", 0), 0u) << out[1];
}

// A run takes the entries of its family only, in both passes: RIB entries, and the prefixes an
// UPDATE announces in its NLRI (IPv4) or MP_REACH_NLRI. An IPv4 run takes IPv4 multicast as it
// always has; an IPv6 run passes over IPv6 multicast. Withdrawals give nothing.
TEST(MrtParserTest, EachRunTakesItsFamily) {
  auto v6 = [](unsigned length, unsigned third) {
    return prefix({0x20, 0x01, 0x0d, 0xb8, 0, third}, length);
  };
  auto update = [](const Bytes& attributes, const Bytes& nlri) {
    return bgp4mp(4, 701, 65000, bgpMessage(2, updateBody(attributes, nlri)));
  };
  Bytes file = rib({{{10}, 8}});  // path 701 108
  file.add(ribRecord(4, v6(32, 0), {ribEntry(0, path4({701, 32}))}))
      .add(ribRecord(4, v6(48, 0), {ribEntry(0, path4({701, 48}))}))
      .add(ribRecord(5, v6(48, 1), {ribEntry(0, path4({701, 5}))}))
      .add(ribRecord(3, prefix({11}, 8), {ribEntry(0, path4({701, 3}))}))
      .add(update(Bytes().add(path4({701, 60})).add(mpReach(2, 1, v6(48, 2))), prefix({12}, 8)))
      .add(update(Bytes().add(path4({701, 7})).add(mpReach(2, 2, v6(48, 3))), Bytes()))
      .add(update(Bytes().add(attribute(15, Bytes().u16(2).u8(1).add(v6(48, 4)))), Bytes()));
  const AddressFamily v4run = AddressFamily::ipv4, v6run = AddressFamily::ipv6;
  struct Case {
    AddressFamily family;
    bool routeMode;
    std::vector<std::string> out;
  } cases[] = {
      {v4run,
       false,
       {"701 108", "701 3", "701 60", "skipped: IPv6 network x5",
        "skipped: UPDATE without IPv4/IPv6 announcement x1"}},
      {v6run,
       false,
       {"701 32", "701 48", "701 60", "skipped: IPv4 network x3", "skipped: multicast route x2",
        "skipped: UPDATE without IPv4/IPv6 announcement x1"}},
      {v4run,
       true,
       {"10.0.0.0/8 701 108", "11.0.0.0/8 701 3", "skipped: IPv6 network x5",
        "skipped: announcement, not a RIB entry x1",
        "skipped: UPDATE without IPv4/IPv6 announcement x1"}},
      {v6run,
       true,
       {"2001:db8::/48 701 48", "2001:db8::/32 701 32", "skipped: IPv4 network x3",
        "skipped: multicast route x2", "skipped: announcement, not a RIB entry x1",
        "skipped: UPDATE without IPv4/IPv6 announcement x1"}},
  };
  for (const Case& c : cases) {
    for (std::size_t memory : {MrtRouteSort::kDefaultMemory, std::size_t{1}}) {
      EXPECT_EQ(readAll(file, c.routeMode, memory, nullptr, c.family, true), c.out)
          << familyName(c.family) << (c.routeMode ? " routes" : " paths") << ", memory " << memory;
    }
  }
}

}  // namespace

// --time-window keeps the entries whose record header is stamped in [start, end): the header's
// time, not the time a RIB entry was learnt (999 here), in both passes.
TEST(MrtParserTest, TimeWindowEdges) {
  Bytes file = peerIndexTable({{701, true, false}});
  const std::uint32_t times[] = {100, 200, 300};
  for (unsigned k = 0; k < 3; ++k) {
    Bytes r = ribRecord(2, Bytes().u8(8).u8(10 + k), {ribEntry(0, path4({701, 100 + k}))});
    for (int b = 0; b < 4; ++b) r.data[b] = static_cast<std::uint8_t>(times[k] >> (24 - 8 * b));
    file.add(r);
  }
  struct Case {
    std::int64_t start, end;
    std::vector<std::string> kept;  // the paths
  } cases[] = {
      {100, 300, {"701 100", "701 101"}}, {101, 300, {"701 101"}},
      {200, 301, {"701 101", "701 102"}}, {0, 100, {}},
      {300, 1000, {"701 102"}},
  };
  TempFiles files;
  const std::string path = files.write(file.str());
  for (const Case& c : cases) {
    for (bool routeMode : {false, true}) {
      MrtParser parser;
      parser.setRouteMode(routeMode);
      TimeWindow window;
      window.limited = true;
      window.start = c.start;
      window.end = c.end;
      parser.setTimeWindow(window);
      ASSERT_TRUE(parser.openFile(path.c_str()));
      std::vector<std::string> kept;
      while (parser.nextLine() == Parser::lineReady && parser.parseLine() == Parser::parseOk) {
        std::string text;
        if (routeMode) {
          List<ASItem>& items = parser.data.path;
          bool more = !items.isEmpty();
          for (items.goToFirst(); more; more = items.next()) {
            text += (text.empty() ? "" : " ") + std::to_string(items.current().AS);
          }
        } else {
          for (ASNumber as : parser.entry.path)
            text += (text.empty() ? "" : " ") + std::to_string(as);
        }
        kept.push_back(text);
      }
      EXPECT_EQ(kept, c.kept) << c.start << "," << c.end << (routeMode ? " routes" : "");
      const ReadStats& stats = *parser.skipStats();
      std::uint64_t outside = 0;
      for (int i = 0; i < stats.reasonCount(); ++i) {
        if (std::string(stats.reason(i)) == kOutsideTimeWindow) outside = stats.count(i);
      }
      EXPECT_EQ(outside, 3 - c.kept.size()) << c.start << "," << c.end;
    }
  }
}

// The first pass learns whether the addresses ascend, and the merge's reading of the same file
// trusts it instead of reading the file beforehand, as long as the file is unchanged.
TEST(MrtParserTest, FirstPassLearnsTheOrderForTheMerge) {
  TempFiles files;
  auto learn = [](const std::string& path) {
    MrtParser parser;
    EXPECT_TRUE(parser.openFile(path.c_str()));
    while (parser.nextLine() == Parser::lineReady) parser.parseLine();
    return parser.addressOrderSeen();
  };
  auto routes = [](const std::string& path, const AddressOrder& known) {
    MrtParser parser;
    parser.setRouteMode(true);
    parser.setAddressOrderKnown(known);
    EXPECT_TRUE(parser.openFile(path.c_str()));
    std::vector<std::string> out;
    while (parser.nextLine() == Parser::lineReady) {
      if (parser.parseLine() == Parser::parseOk) out.push_back(routeText(parser.data));
    }
    return out;
  };
  const std::string ascending = files.write(rib({{{10}, 8}, {{10, 0}, 16}, {{11}, 8}}).str());
  const std::string descending = files.write(rib({{{12}, 8}, {{10}, 8}}).str());
  EXPECT_EQ(learn(ascending).kind, AddressOrder::ascending);
  const AddressOrder learnt = learn(descending);
  EXPECT_EQ(learnt.kind, AddressOrder::notAscending);
  const std::vector<std::string> sorted{"10.0.0.0/8 701 108", "12.0.0.0/8 701 108"};
  EXPECT_EQ(routes(descending, learnt), sorted);
  // Told wrongly that they ascend, the reader takes the file's order: the knowledge is used...
  AddressOrder wrong = learnt;
  wrong.kind = AddressOrder::ascending;
  EXPECT_EQ(routes(descending, wrong),
            (std::vector<std::string>{"12.0.0.0/8 701 108", "10.0.0.0/8 701 108"}));
  // ...but only of the file as it was: once rewritten, it is read beforehand again.
  wrong.file.modifiedNanoseconds += 1;
  EXPECT_EQ(routes(descending, wrong), sorted);
}
