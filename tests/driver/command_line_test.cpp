#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Runs parseArguments on the given arguments (argv[0] is added) and returns the message.
struct Parse {
  CommandLine line;
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
    ok = parseArguments(argc, argv, line, message);
  }
};

std::string names(const CommandLine& line) {
  std::string out;
  for (const InputFile& input : line.inputs) {
    if (!out.empty()) out += ",";
    out += input.name;
  }
  return out;
}

// The entries read in the merge of the second pass.
int merged(const CommandLine& line) {
  int count = 0;
  for (const InputFile& input : line.inputs) count += readInMerge(input) ? 1 : 0;
  return count;
}

struct ErrorCase {
  std::initializer_list<std::string> args;
  const char* message;
};

TEST(ParseArguments, EveryMessageInCheckOrder) {
  const ErrorCase cases[] = {
      {{}, "At least a file to get nodes from is needed"},
      {{"--file:pe", "b"}, "At least a file to get nodes from is needed"},
      {{"--help", "--file:pd", "x"},
       "Cannot assign edge directions without a file to get edges from"},
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
  EXPECT_TRUE(help.line.options.help);
  EXPECT_EQ(help.message, "");

  Parse unordered({"--help", "--file:pe", "x1", "--file:pn", "x2"});
  ASSERT_TRUE(unordered.ok);
  EXPECT_EQ(names(unordered.line), "x1,x2");
}

TEST(ParseArguments, OptionsAndFields) {
  Parse parse({"-v", "-f", "--file:pne", "paths.txt", "--file:Bi", "65535", "dump.txt", "-o",
               "out.graph", "--comment", "hello", "--enhance", "-"});
  ASSERT_TRUE(parse.ok) << parse.message;
  const RunOptions& o = parse.line.options;
  EXPECT_TRUE(o.verbose);
  EXPECT_TRUE(o.force);
  EXPECT_FALSE(o.help);
  EXPECT_EQ(o.outFile, "out.graph");
  EXPECT_EQ(o.sourceGraph, "-");
  EXPECT_EQ(o.comment, "hello");
  const std::vector<InputFile>& in = parse.line.inputs;
  ASSERT_EQ(in.size(), 2u);
  EXPECT_EQ(in[0].name, "paths.txt");
  EXPECT_EQ(in[0].type, pathFile);
  EXPECT_EQ(in[0].contents, getNodes | getEdges);
  EXPECT_EQ(in[0].vantage, 0u);
  EXPECT_EQ(in[1].name, "dump.txt");
  EXPECT_EQ(in[1].type, bgpFile);
  EXPECT_EQ(in[1].contents, getIPCovering);
  EXPECT_EQ(in[1].vantage, 65535u);
}

TEST(ParseArguments, PendingArgumentsAreTakenWhateverTheyLookLike) {
  Parse dashV({"--file:pn", "-v"});
  ASSERT_TRUE(dashV.ok);
  EXPECT_EQ(names(dashV.line), "-v");
  EXPECT_FALSE(dashV.line.options.verbose);

  // A consumed output name is not looked at again as an option.
  Parse outHelp({"--file:pn", "a", "-o", "--help"});
  ASSERT_TRUE(outHelp.ok) << outHelp.message;
  EXPECT_EQ(outHelp.line.options.outFile, "--help");
  EXPECT_FALSE(outHelp.line.options.help);

  Parse graphFile({"--enhance", "--file:pn", "--comment", "-f"});
  ASSERT_TRUE(graphFile.ok) << graphFile.message;
  EXPECT_EQ(graphFile.line.options.sourceGraph, "--file:pn");
  EXPECT_EQ(graphFile.line.options.comment, "-f");
  EXPECT_FALSE(graphFile.line.options.force);
  EXPECT_FALSE(graphFile.line.options.outFile.has_value());
}

TEST(ParseArguments, BareArgumentsAreTheOutputFile) {
  Parse dash({"--file:pn", "a", "-"});
  ASSERT_TRUE(dash.ok);
  EXPECT_EQ(dash.line.options.outFile, "-");
  // A name that looks like an option is taken only after -o.
  Parse dashName({"--file:pn", "a", "-o", "-name"});
  ASSERT_TRUE(dashName.ok);
  EXPECT_EQ(dashName.line.options.outFile, "-name");
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

// -j takes a whole number from 1 to 256; without it, the cores the process may use.
TEST(ParseArguments, ThreadsAreOneTo256) {
  const struct {
    std::initializer_list<std::string> args;
    int threads;  // 0: a syntax error
  } cases[] = {
      {{"--file:pn", "a", "-j", "1"}, 1},  {{"--file:pn", "a", "-j", "256"}, 256},
      {{"--file:pn", "a", "-j", "0"}, 0},  {{"--file:pn", "a", "-j", "257"}, 0},
      {{"--file:pn", "a", "-j", "2x"}, 0}, {{"--file:pn", "a", "-j", "-2"}, 0},
      {{"--file:pn", "a", "-j", ""}, 0},   {{"--file:pn", "a", "-j", "99999999999"}, 0},
  };
  for (const auto& c : cases) {
    Parse parse(c.args);
    EXPECT_EQ(parse.ok, c.threads != 0) << *(c.args.end() - 1);
    if (c.threads != 0) {
      EXPECT_EQ(parse.line.options.threads, c.threads);
    }
    if (c.threads == 0) {
      EXPECT_EQ(parse.message,
                "Invalid number of threads: `" + *(c.args.end() - 1) + "' (1 to 256)");
    }
  }
  Parse missing({"--file:pn", "a", "-j"});
  EXPECT_EQ(missing.message, "Number of threads expected after -j option");
  Parse byDefault({"--file:pn", "a"});
  EXPECT_GE(byDefault.line.options.threads, 1);
}

TEST(ParseArguments, EmptyCommentCountsAsGiven) {
  Parse parse({"--enhance", "g.txt", "--comment", ""});
  EXPECT_TRUE(parse.ok) << parse.message;
  EXPECT_EQ(parse.line.options.comment, "");
}

TEST(ParseArguments, LongCommentIsCutTo512) {
  Parse parse({"--file:pn", "a", "--comment", std::string(600, 'c')});
  ASSERT_TRUE(parse.ok);
  EXPECT_EQ(parse.line.options.comment, std::string(512, 'c'));
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
    CommandLine line;
    std::string message;
    ASSERT_TRUE(parseArguments(201, argv, line, message)) << message;
    ASSERT_EQ(line.inputs.size(), 100u);
    EXPECT_EQ(line.inputs[0].name, "f0");
    EXPECT_EQ(line.inputs[99].name, "f99");
  }
  {
    CommandLine line;
    std::string message;
    EXPECT_FALSE(parseArguments(202, argv, line, message));
    EXPECT_EQ(message, "Too many input files (at most 100)");
  }
}

TEST(ParseArguments, FilesAreGroupedByLowestContentBit) {
  struct Case {
    std::initializer_list<std::string> args;
    const char* order;
    int dumps;
  } cases[] = {
      // The partition's exchanges move x1 behind x2.
      {{"--file:pe", "x1", "--file:pe", "x2", "--file:pn", "x3"}, "x3,x2,x1", 0},
      {{"--file:pc", "c", "--file:pd", "d", "--file:pe", "e", "--file:pn", "n"}, "n,e,d,c", 0},
      {{"--file:Bi", "7", "b1", "--file:pne", "p", "--file:bi", "b2"}, "p,b1,b2", 2},
      // A saturation file with only i stays in front of the dumps.
      {{"--file:bi", "b1", "--file:si", "s", "--file:pne", "p"}, "p,s,b1", 1},
      {{"--file:bi", "b1", "--file:bi", "b2", "--file:si", "s", "--file:pne", "p"}, "p,s,b2,b1", 2},
  };
  for (const Case& c : cases) {
    Parse parse(c.args);
    ASSERT_TRUE(parse.ok) << parse.message;
    EXPECT_EQ(names(parse.line), c.order);
    EXPECT_EQ(merged(parse.line), c.dumps);
  }
}

TEST(ParseArguments, EntriesMoveWholeWhenOrdered) {
  Parse parse({"--file:Bi", "7018", "dump", "--file:ue", "couples", "--file:pn", "paths"});
  ASSERT_TRUE(parse.ok) << parse.message;
  const std::vector<InputFile>& in = parse.line.inputs;
  EXPECT_EQ(names(parse.line), "paths,couples,dump");
  EXPECT_EQ(in[0].type, pathFile);
  EXPECT_EQ(in[0].contents, getNodes);
  EXPECT_EQ(in[1].type, unknownFile);
  EXPECT_EQ(in[1].contents, getEdges);
  EXPECT_EQ(in[2].type, bgpFile);
  EXPECT_EQ(in[2].vantage, 7018u);
  EXPECT_EQ(in[0].vantage, 0u);
}

// --as32 widens the vantage numbers wherever it stands. When the arguments are wrong before it
// is known which argument is the option, its mere presence decides; a 16-bit run stops at the
// first vantage number it refuses, before any later error.
TEST(ParseArguments, As32WidensVantageNumbersWhereverItStands) {
  const ErrorCase cases[] = {
      {{"--file:Bi", "70000", "d", "--file:pne", "p", "--as32"}, ""},
      {{"--file:Bi", "1.5", "d", "--file:pne", "p", "--as32"}, ""},
      {{"--file:Bi", "70000", "d", "--file:pne", "p"}, "Invalid vantage point number: `70000'"},
      {{"--file:Bi", "1.5", "d", "--file:pne", "p"}, "Invalid vantage point number: `1.5'"},
      {{"--file:Bi", "1.65536", "d", "--file:pne", "p", "--as32"},
       "Invalid vantage point number: `1.65536'"},
      {{"--file:Bi", "0.0", "d", "--file:pne", "p", "--as32"},
       "Invalid vantage point number: `0.0'"},
      // --as32 taken as a file name or a comment is no option...
      {{"--file:Bi", "70000", "--as32", "--file:pne", "p"},
       "Invalid vantage point number: `70000'"},
      {{"--file:Bi", "70000", "d", "--file:pne", "p", "--comment", "--as32"},
       "Invalid vantage point number: `70000'"},
      // ...unless the arguments are wrong anyway: then the later error is the one reported.
      {{"--file:Bi", "70000", "--as32", "--bogus"}, "Invalid option: `--bogus'"},
      {{"--file:Bi", "70000", "d", "--comment", "--as32"},
       "At least a file to get nodes from is needed"},
      {{"--file:Bi", "70000", "--as32"}, "At least a file to get nodes from is needed"},
      {{"--file:Bi", "70000"}, "Invalid vantage point number: `70000'"},
      {{"--help", "--file:Bi", "70000", "d"}, "Invalid vantage point number: `70000'"},
      {{"--file:Bi", "70000", "d", "--file:Bi", "5000000000", "e", "--file:pne", "p"},
       "Invalid vantage point number: `70000'"},
      {{"--file:Bi", "70000", "d", "--file:Bi", "5000000000", "e", "--file:pne", "p", "--as32"},
       "Invalid vantage point number: `5000000000'"},
  };
  for (const ErrorCase& c : cases) {
    Parse parse(c.args);
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    EXPECT_EQ(parse.message, c.message) << joined;
    EXPECT_EQ(parse.ok, parse.message.empty()) << joined;
  }
  Parse wide({"--file:Bi", "1.10", "d", "--file:pne", "p", "--as32"});
  ASSERT_TRUE(wide.ok) << wide.message;
  EXPECT_TRUE(wide.line.options.as32);
  EXPECT_EQ(wide.line.inputs[1].vantage, 65546u);
}

}  // namespace
