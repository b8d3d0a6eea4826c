#include "export/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Parses the words as a command line after the program name; returns the message, empty on
// success.
std::string parse(std::vector<const char*> words, ExportOptions& options) {
  words.insert(words.begin(), "zelgrin-export");
  std::string message;
  const bool ok = parseExportArguments(static_cast<int>(words.size()),
                                       const_cast<char* const*>(words.data()), options, message);
  EXPECT_EQ(ok, message.empty());
  return message;
}

}  // namespace

TEST(ExportCommandLine, ReadsFormatNeighbourhoodAndOutput) {
  ExportOptions options;
  EXPECT_EQ(parse({"--to", "dot", "--around", "AS1.10", "--depth", "0", "-o", "-x", "-"}, options),
            "");
  EXPECT_EQ(options.format, ExportFormat::dot);
  EXPECT_TRUE(options.around);
  EXPECT_EQ(options.aroundAS, 65546u);
  EXPECT_EQ(options.depth, 0u);
  EXPECT_STREQ(options.output, "-x");  // a value is taken whatever it looks like
  EXPECT_STREQ(options.graphFile, "-");

  // "-" is standard output, as no -o is; --help-all is --help with more after it.
  ExportOptions dash;
  EXPECT_EQ(parse({"--help-all", "-o", "-", "--to", "json", "g"}, dash), "");
  EXPECT_EQ(dash.output, nullptr);
  EXPECT_TRUE(dash.help);
  EXPECT_TRUE(dash.helpAll);
  ExportOptions help;
  EXPECT_EQ(parse({"--help"}, help), "");
  EXPECT_FALSE(help.helpAll);

  ExportOptions defaults;
  EXPECT_EQ(parse({"g"}, defaults), "");
  EXPECT_EQ(defaults.format, ExportFormat::summary);
  EXPECT_FALSE(defaults.around);
  EXPECT_EQ(defaults.output, nullptr);
}

TEST(ExportCommandLine, SyntaxErrors) {
  const struct {
    std::vector<const char*> words;
    const char* message;
  } cases[] = {
      {{}, "Graph file name expected"},
      {{"--to"}, "Value expected after `--to'"},
      {{"g", "--depth"}, "Value expected after `--depth'"},
      {{"--to", "svg", "g"}, "Unknown format: `svg'"},
      {{"--to", "csv", "--to", "json", "g"}, "There is more than one --to option"},
      {{"--frobnicate", "g"}, "Invalid option: `--frobnicate'"},
      {{"g", "h"}, "There is more than one graph file"},
      {{"-o", "a", "-o", "b", "g"}, "There is more than one output"},
      {{"-o", "-", "-o", "b", "g"}, "There is more than one output"},
      {{"--around", "0", "g"}, "Invalid AS number: `0'"},
      {{"--around", "4294967296", "g"}, "Invalid AS number: `4294967296'"},
      {{"--around", "1", "--depth", "-1", "g"}, "Invalid depth: `-1'"},
      {{"--around", "1", "--depth", "1000001", "g"}, "Invalid depth: `1000001'"},
      {{"--depth", "2", "g"}, "--depth goes with --around only"},
      {{"--summary", "--to", "json", "g"}, "--summary and --to cannot be used together"},
      {{"--edges-only", "--to", "json", "g"}, "--edges-only goes with --to csv only"},
      {{"--to", "csv", "g"},
       "--to csv writes two files: name their folder with -o, or use --edges-only"},
  };
  for (const auto& c : cases) {
    ExportOptions options;
    EXPECT_EQ(parse(c.words, options), c.message);
  }
  // Help and version need no graph file.
  ExportOptions options;
  EXPECT_EQ(parse({"--version"}, options), "");
  EXPECT_TRUE(options.version);
}
