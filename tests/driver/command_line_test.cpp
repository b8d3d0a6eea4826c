#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

// Runs parseArguments on the given arguments (argv[0] is added) and returns the message.
struct Parse {
  cmdLineParams params;
  std::string message;
  bool ok = false;

  explicit Parse(std::initializer_list<std::string> args) {
    std::string storage[300];
    char* argv[301];
    int argc = 0;
    storage[argc] = "zelgrin";
    argv[argc] = &storage[argc][0];
    ++argc;
    for (const std::string& arg : args) {
      storage[argc] = arg;
      argv[argc] = &storage[argc][0];
      ++argc;
    }
    ok = parseArguments(argc, argv, params, message);
  }
};

std::string names(const cmdLineParams& params) {
  std::string out;
  for (int k = 0; k < params.numOtherFiles + params.numBGPFiles; ++k) {
    if (k) out += ",";
    out += params.fileNames[k];
  }
  return out;
}

struct ErrorCase {
  std::initializer_list<std::string> args;
  const char* message;
};

TEST(ParseArguments, EveryMessageInCheckOrder) {
  const ErrorCase cases[] = {
      {{}, "At least a file to get nodes from is needed"},
      {{"--file:pe", "b"}, "At least a file to get nodes from is needed"},
      {{"--help", "--file:pd", "x"}, "Cannot assign edge directions without a file to get edges from"},
      {{"--file:pn", "a", "--file:pd", "x"},
       "Cannot assign edge directions without a file to get edges from"},
      {{"--file:pnc", "a"}, "Cannot use covering information without a file to get edges from"},
      {{"--file:pn", "a", "--file:Bi", "1", "d"},
       "Cannot use covering information without a file to get edges from"},
      // directions are checked before covering
      {{"--file:pndc", "a"}, "Cannot assign edge directions without a file to get edges from"},
      {{"--enhance", "g.txt"}, "This would not change so much in the existing graph..."},
      {{"--help", "--enhance", "g.txt"}, "This would not change so much in the existing graph..."},
      {{"--file:pnp", "x"}, "Possibly ambiguous file type: `--file:pnp'"},
      {{"--file:pnB", "x"}, "Possibly ambiguous file type: `--file:pnB'"},
      {{"--file:pnn", "x"}, "Duplicate use of `n' flag for file contents"},
      {{"--file:pee", "x"}, "Duplicate use of `e' flag for file contents"},
      {{"--file:pdd", "x"}, "Duplicate use of `o' flag for file contents"},
      {{"--file:pcc", "x"}, "Duplicate use of `p' flag for file contents"},
      {{"--file:sii", "x"}, "Duplicate use of `i' flag for file contents"},
      {{"--file:pnx", "x"}, "Invalid file type/contents flag: `x'"},
      {{"--file:pN", "x"}, "Invalid file type/contents flag: `N'"},
      {{"--file:n", "x"}, "At least one file type and one file content are needed"},
      {{"--file:p", "x"}, "At least one file type and one file content are needed"},
      {{"--file:"}, "At least one file type and one file content are needed"},
      {{"--file:Bi", "0", "d"}, "Invalid vantage point number: `0'"},
      {{"--file:Bi", "65536", "d"}, "Invalid vantage point number: `65536'"},
      {{"--file:Bi", "12a", "d"}, "Invalid vantage point number: `12a'"},
      {{"--file:Bi", "", "d"}, "Invalid vantage point number: `'"},
      {{"--file:Bi", "-3", "d"}, "Invalid vantage point number: `-3'"},
      {{"--file:Bi", "99999999999999999999", "d"},
       "Invalid vantage point number: `99999999999999999999'"},
      {{"--file:bn", "d"}, "BGP dumps can only be used to get IP address covering"},
      {{"--file:vnc", "d"}, "Vantage files do not contain covering information"},
      {{"--file:vni", "d"}, "Vantage files do not contain covering information"},
      {{"--file:pni", "d"}, "Cannot get IP address covering from a path file"},
      {{"--file:und", "d"}, "Unoriented edges can only be used to get nodes and/or edges"},
      {{"--file:bn"}, "File name expected after --file option"},
      {{"--file:Bi"}, "Vantage point number expected after --file option"},
      // n, e and d make the name pending at once: the name check comes first
      {{"--file:Bn"}, "File name expected after --file option"},
      {{"--file:Bci"}, "Vantage point number expected after --file option"},
      {{"--enhance"}, "Graph file name expected after --enhance option"},
      {{"--comment"}, "Comment expected after --comment option"},
      {{"-o"}, "Output file name expected after -o option"},
      {{"--file:pn", "a", "out1", "out2"}, "Invalid option: `out2'"},
      {{"-o", "out1", "-o", "out2"}, "There is more than one output file"},
      {{"out1", "-o", "out2"}, "There is more than one output file"},
      {{"--comment", "a", "--comment", "b"}, "There is more than one comment"},
      {{"--enhance", "g1", "--enhance", "g2"}, "There is more than one input graph"},
  };
  for (const ErrorCase& c : cases) {
    Parse parse(c.args);
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    EXPECT_FALSE(parse.ok) << joined;
    EXPECT_EQ(parse.message, c.message) << joined;
  }
}

TEST(ParseArguments, EndChecksComeInOrder) {
  // File name pending wins over every later check.
  Parse nameFirst({"--comment", "c", "--file:pe"});
  EXPECT_EQ(nameFirst.message, "File name expected after --file option");
  // Pending names are checked before the missing node file.
  Parse outFirst({"--file:pe", "x", "-o"});
  EXPECT_EQ(outFirst.message, "Output file name expected after -o option");
}

TEST(ParseArguments, HelpSkipsOnlyTheNodeCheckAndTheOrdering) {
  Parse help({"--help"});
  EXPECT_TRUE(help.ok);
  EXPECT_TRUE(help.params.help);
  EXPECT_EQ(help.message, "");

  Parse unordered({"--help", "--file:pe", "x1", "--file:pn", "x2"});
  ASSERT_TRUE(unordered.ok);
  EXPECT_EQ(std::string(unordered.params.fileNames[0]), "x1");
  EXPECT_EQ(unordered.params.numBGPFiles, 0);
}

TEST(ParseArguments, OptionsAndFields) {
  Parse parse({"-v", "-f", "--file:pne", "paths.txt", "--file:Bi", "65535", "dump.txt",
               "-o", "out.graph", "--comment", "hello", "--enhance", "-"});
  ASSERT_TRUE(parse.ok) << parse.message;
  const cmdLineParams& p = parse.params;
  EXPECT_TRUE(p.verbose);
  EXPECT_TRUE(p.force);
  EXPECT_FALSE(p.help);
  EXPECT_STREQ(p.outFile, "out.graph");
  EXPECT_STREQ(p.sourceGraph, "-");
  EXPECT_STREQ(p.comment, "hello");
  EXPECT_EQ(p.numOtherFiles, 1);
  EXPECT_EQ(p.numBGPFiles, 1);
  EXPECT_STREQ(p.fileNames[0], "paths.txt");
  EXPECT_EQ(p.fileTypes[0], pathFile);
  EXPECT_EQ(p.fileContents[0], getNodes | getEdges);
  EXPECT_EQ(p.vantagePoints[0], 0);
  EXPECT_STREQ(p.fileNames[1], "dump.txt");
  EXPECT_EQ(p.fileTypes[1], bgpFile);
  EXPECT_EQ(p.fileContents[1], getIPCovering);
  EXPECT_EQ(p.vantagePoints[1], 65535);
  EXPECT_EQ(p.fileNames[2], nullptr);
}

TEST(ParseArguments, PendingArgumentsAreTakenWhateverTheyLookLike) {
  Parse dashV({"--file:pn", "-v"});
  ASSERT_TRUE(dashV.ok);
  EXPECT_STREQ(dashV.params.fileNames[0], "-v");
  EXPECT_FALSE(dashV.params.verbose);

  // A consumed output name is not looked at again as an option.
  Parse outHelp({"--file:pn", "a", "-o", "--help"});
  ASSERT_TRUE(outHelp.ok) << outHelp.message;
  EXPECT_STREQ(outHelp.params.outFile, "--help");
  EXPECT_FALSE(outHelp.params.help);

  Parse graphFile({"--enhance", "--file:pn", "--comment", "-f"});
  ASSERT_TRUE(graphFile.ok) << graphFile.message;
  EXPECT_STREQ(graphFile.params.sourceGraph, "--file:pn");
  EXPECT_STREQ(graphFile.params.comment, "-f");
  EXPECT_FALSE(graphFile.params.force);
  EXPECT_EQ(graphFile.params.outFile, nullptr);
}

TEST(ParseArguments, BareArgumentsAreTheOutputFile) {
  Parse dash({"--file:pn", "a", "-"});
  ASSERT_TRUE(dash.ok);
  EXPECT_STREQ(dash.params.outFile, "-");
  // A name that looks like an option is taken only after -o.
  Parse dashName({"--file:pn", "a", "-o", "-name"});
  ASSERT_TRUE(dashName.ok);
  EXPECT_STREQ(dashName.params.outFile, "-name");
}

TEST(ParseArguments, UnknownOptionsAndLineBreaksAreSyntaxErrors) {
  const ErrorCase cases[] = {
      {{"--file:pn", "a", "--filex"}, "Invalid option: `--filex'"},
      {{"--verbose", "--file:pn", "a"}, "Invalid option: `--verbose'"},
      {{"--file:pn", "a", "-x"}, "Invalid option: `-x'"},
      {{"-o", "out", "--file:pn", "a", "-5"}, "Invalid option: `-5'"},
      {{"--file:pn", "a", "--comment", "one\ntwo"}, "Comment cannot contain a line break"},
      {{"--file:pn", "a", "--comment", "one\r"}, "Comment cannot contain a line break"},
      {{"--file:pn", "a\nb"}, "Input file name cannot contain a line break: `a\nb'"},
      {{"--file:Bi", "7", "d\r", "--file:pn", "a"},
       "Input file name cannot contain a line break: `d\r'"},
  };
  for (const ErrorCase& c : cases) {
    Parse parse(c.args);
    EXPECT_FALSE(parse.ok);
    EXPECT_EQ(parse.message, c.message);
  }
}

TEST(ParseArguments, EmptyCommentCountsAsGiven) {
  Parse parse({"--enhance", "g.txt", "--comment", ""});
  EXPECT_TRUE(parse.ok) << parse.message;
  EXPECT_STREQ(parse.params.comment, "");
}

TEST(ParseArguments, LongCommentIsCutTo512) {
  Parse parse({"--file:pn", "a", "--comment", std::string(600, 'c')});
  ASSERT_TRUE(parse.ok);
  EXPECT_EQ(std::string(parse.params.comment), std::string(512, 'c'));
}

TEST(ParseArguments, HundredFilesFitTheHundredFirstIsAnError) {
  std::string storage[203];
  char* argv[203];
  storage[0] = "zelgrin";
  for (int k = 0; k < 101; ++k) {
    storage[1 + 2 * k] = "--file:pn";
    storage[2 + 2 * k] = "f" + std::to_string(k);
  }
  for (int k = 0; k < 203; ++k) argv[k] = k < 202 ? &storage[k][0] : nullptr;
  {
    cmdLineParams params;
    std::string message;
    ASSERT_TRUE(parseArguments(201, argv, params, message)) << message;
    EXPECT_EQ(params.numOtherFiles, 100);
    EXPECT_STREQ(params.fileNames[0], "f0");
    EXPECT_STREQ(params.fileNames[99], "f99");
  }
  {
    cmdLineParams params;
    std::string message;
    EXPECT_FALSE(parseArguments(202, argv, params, message));
    EXPECT_EQ(message, "Too many input files (at most 100)");
    EXPECT_STREQ(params.fileNames[99], "f99");
  }
}

TEST(ParseArguments, FilesAreGroupedByLowestContentBit) {
  struct Case {
    std::initializer_list<std::string> args;
    const char* order;
    short others;
    short dumps;
  } cases[] = {
      // The partition's exchanges move x1 behind x2.
      {{"--file:pe", "x1", "--file:pe", "x2", "--file:pn", "x3"}, "x3,x2,x1", 3, 0},
      {{"--file:pc", "c", "--file:pd", "d", "--file:pe", "e", "--file:pn", "n"}, "n,e,d,c", 4, 0},
      {{"--file:Bi", "7", "b1", "--file:pne", "p", "--file:bi", "b2"}, "p,b1,b2", 1, 2},
      // A saturation file with only i stays in front of the dumps.
      {{"--file:bi", "b1", "--file:si", "s", "--file:pne", "p"}, "p,s,b1", 2, 1},
      {{"--file:bi", "b1", "--file:bi", "b2", "--file:si", "s", "--file:pne", "p"},
       "p,s,b2,b1", 2, 2},
  };
  for (const Case& c : cases) {
    Parse parse(c.args);
    ASSERT_TRUE(parse.ok) << parse.message;
    EXPECT_EQ(names(parse.params), c.order);
    EXPECT_EQ(parse.params.numOtherFiles, c.others);
    EXPECT_EQ(parse.params.numBGPFiles, c.dumps);
  }
}

TEST(ParseArguments, EntriesMoveWholeWhenOrdered) {
  Parse parse({"--file:Bi", "7018", "dump", "--file:ue", "couples", "--file:pn", "paths"});
  ASSERT_TRUE(parse.ok) << parse.message;
  const cmdLineParams& p = parse.params;
  EXPECT_EQ(names(p), "paths,couples,dump");
  EXPECT_EQ(p.fileTypes[0], pathFile);
  EXPECT_EQ(p.fileContents[0], getNodes);
  EXPECT_EQ(p.fileTypes[1], unknownFile);
  EXPECT_EQ(p.fileContents[1], getEdges);
  EXPECT_EQ(p.fileTypes[2], bgpFile);
  EXPECT_EQ(p.vantagePoints[2], 7018);
  EXPECT_EQ(p.vantagePoints[0], 0);
}

TEST(DynaSwap, ExchangesWholeEntries) {
  Parse parse({"--file:pne", "a", "--file:Bi", "5", "b"});
  ASSERT_TRUE(parse.ok);
  dynaSwap(parse.params, 0, 1);
  EXPECT_STREQ(parse.params.fileNames[0], "b");
  EXPECT_EQ(parse.params.fileTypes[0], bgpFile);
  EXPECT_EQ(parse.params.fileContents[0], getIPCovering);
  EXPECT_EQ(parse.params.vantagePoints[0], 5);
  EXPECT_STREQ(parse.params.fileNames[1], "a");
  EXPECT_EQ(parse.params.vantagePoints[1], 0);
}

TEST(AnyTrue, LooksAtTheFirstNOnly) {
  const bool values[] = {false, false, true};
  EXPECT_FALSE(anyTrue(values, 0));
  EXPECT_FALSE(anyTrue(values, -1));
  EXPECT_FALSE(anyTrue(values, 2));
  EXPECT_TRUE(anyTrue(values, 3));
}

}  // namespace
