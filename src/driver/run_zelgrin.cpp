#include "driver/run_zelgrin.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "asgraph/graph_input.h"
#include "build/build_graph.h"
#include "build/graph_sum.h"
#include "build/open_input.h"
#include "console/console.h"
#include "driver/command_line.h"
#include "driver/input_warnings.h"
#include "driver/open_file_limit.h"
#include "driver/output_guard.h"
#include "driver/statistics.h"
#include "driver/statistics_json.h"
#include "io/output_file.h"

namespace {

// Exit statuses: the kind of failure a script can tell apart.
enum ExitStatus : int {
  exitOk = 0,          // the graph was written, or help or version asked for
  exitSyntax = 1,      // syntax error on the command line
  exitUnreadable = 2,  // an input could not be opened or read, the output not created, or
                       // memory ran out
  exitRefused = 3,     // overwrite refused, output is an input, invalid graph to enhance, or a
                       // failed write
};

// Memory ran out: nothing can be relied on any more, so the partial output is removed and the
// program ends at once, leaving any old output file as it was.
void outOfMemory() {
  OutputFile::removeTemporaries();
  printHeader(stderr);
  std::fputs("Error: Out of memory\n", stderr);
  std::_Exit(exitUnreadable);
}

// Installs the out-of-memory handler for one run and puts the previous one back after it.
class OutOfMemoryHandler {
 public:
  OutOfMemoryHandler() : previous_(std::set_new_handler(outOfMemory)) {}
  ~OutOfMemoryHandler() { std::set_new_handler(previous_); }
  OutOfMemoryHandler(const OutOfMemoryHandler&) = delete;
  OutOfMemoryHandler& operator=(const OutOfMemoryHandler&) = delete;

 private:
  std::new_handler previous_;
};

// True when the output is a regular file that one of the input files also names, through the
// same name, a hard link or a symbolic link; standard input counts as the file it reads. Writing
// over the graph being enhanced is allowed: it is read whole before the write.
bool outputIsAnInput(const CommandLine& commandLine) {
  const std::optional<std::string>& outFile = commandLine.options.outFile;
  struct stat output;
  if (!outFile || stat(outFile->c_str(), &output) != 0 || !S_ISREG(output.st_mode)) return false;
  for (const InputFile& file : commandLine.inputs) {
    const char* name = file.name.c_str();
    struct stat input;
    const int found = isStdinName(name) ? fstat(STDIN_FILENO, &input) : stat(name, &input);
    if (found == 0 && input.st_dev == output.st_dev && input.st_ino == output.st_ino) return true;
  }
  return false;
}

// An existing regular output file is only replaced with the user's consent (or -f). The file's
// status decides, so that a FIFO is not opened (which would wait for a writer) and a file that
// cannot be read is asked about all the same.
bool mayWriteOutput(const RunOptions& options) {
  if (!options.outFile || options.force) return true;
  struct stat status;
  if (stat(options.outFile->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return true;
  return askOverwrite(options.outFile->c_str());
}

// Said after the reader's own refusal of an IPv6 graph in an IPv4 run, whose message is all an
// older reader could say about the file.
const char kIPv6GraphHint[] = "An IPv6 graph file (VGR6) is read with --ipv6";

// The family of the graphs the run reads and writes.
AddressFamily familyOf(const RunOptions& options) {
  return options.ipv6 ? AddressFamily::ipv6 : AddressFamily::ipv4;
}

// Loads the graph to enhance, of the run's family, from its file, or from standard input for
// "-". False after the failure has been reported.
bool readSourceGraph(const char* name, ASGraph& graph, bool stdoutIsTerm, ASWidth width,
                     AddressFamily family) {
  const bool fromStdin = strcmp(name, "-") == 0;
  GraphInput in;
  if (!in.open(name)) {
    const int error = errno;  // the banner may touch errno
    printHeader(stderr);
    fprintf(stderr, "Error while opening source graph `%s'\n", name);
    fprintf(stderr, "(%s)\n", strerror(error));
    return false;
  }
  if (!fromStdin && stdoutIsTerm) printf("Reading input graph file...\n");
  std::string reason;
  if (in.read(graph, reason, width, graphsOf(family))) return true;
  printHeader(stderr);
  if (fromStdin) {
    fprintf(stderr, "Input does not appear to be a valid graph:\n");
  } else {
    fprintf(stderr, "File `%s' does not appear to be a valid graph file:\n", name);
  }
  fprintf(stderr, "%s\n", reason.c_str());
  // The reader gave the graph the family of the type line it refused.
  if (graph.family() != family && family == AddressFamily::ipv4) {
    fprintf(stderr, "%s\n", kIPv6GraphHint);
  }
  return false;
}

// Writes the graph to the named file, or to standard output without a name; returns the exit
// status. A failure that shows only when the file is closed or renamed into place is a failed
// write as well; the old file then stays as it was.
int writeGraph(const char* outFile, ASGraph& graph, bool stdoutIsTerm) {
  if (outFile == nullptr) {
    if (graph.writeToFile(stdout)) return exitOk;
    printHeader(stderr);
    fprintf(stderr, "Error while dumping graph:\n");
    fprintf(stderr, "%s\n", graph.errReason());
    return exitRefused;
  }
  OutputFile out("graph file");
  if (!out.open(outFile)) {
    printHeader(stderr);
    fprintf(stderr, "Unable to open file `%s' for writing\n", outFile);
    fprintf(stderr, "(%s)\n", strerror(out.errorNumber()));
    return exitUnreadable;
  }
  if (stdoutIsTerm) printf("Saving graph to file...\n");
  bool ok = graph.writeToFile(out.stream());
  std::string reason = graph.errReason();
  if (ok && !out.commit()) {
    ok = false;
    reason = out.errReason();
  }
  if (ok) return exitOk;
  out.abandon();
  printHeader(stderr);
  fprintf(stderr, "Error while writing graph to file `%s':\n", outFile);
  fprintf(stderr, "%s\n", reason.c_str());
  return exitRefused;
}

// Steps 6 to 12 of a run that builds a graph: checks the output, reads the graph to enhance,
// builds the graph from the inputs and writes it; returns the exit status.
int buildAndWrite(CommandLine& commandLine, bool stdoutIsTerm) {
  const RunOptions& options = commandLine.options;
  const char* outFile = options.outFile ? options.outFile->c_str() : nullptr;
  ASGraph graph;

  // Step 6: nothing is read while the output would destroy an input, or a file the user most
  // likely meant as one (a non-graph file named without -o). Then the question, asked
  // before the graph is read, so that with --enhance - the first line of standard input is the
  // answer and the graph follows it.
  if (outputIsAnInput(commandLine)) {
    printHeader(stderr);
    fprintf(stderr, "Error: Output file `%s' is also an input file\n", outFile);
    return exitRefused;
  }
  if (options.outFileBare && bareOutputWouldDestroy(outFile)) {
    printHeader(stderr);
    fprintf(stderr,
            "Error: `%s' exists and is not a graph file; name the output with -o to "
            "replace it\n",
            outFile);
    return exitRefused;
  }
  if (!mayWriteOutput(options)) return exitRefused;

  // Step 7: read the graph to enhance ("-" is standard input).
  const ASWidth width{options.as32};
  if (options.sourceGraph && !readSourceGraph(options.sourceGraph->c_str(), graph, stdoutIsTerm,
                                              width, familyOf(options))) {
    return exitRefused;
  }

  // Step 8: progress output only when it cannot mix with a graph written to standard output.
  BuildOptions build;
  build.progress = stdoutIsTerm && outFile != nullptr;
  build.verbose = options.verbose;
  build.width = width;
  build.exactCovering = options.exactCovering;
  build.noSelfLoops = options.noSelfLoops;
  build.family = options.ipv6 ? AddressFamily::ipv6 : AddressFamily::ipv4;
  graph.setFamily(build.family);
  build.threads = options.threads;
  if (!options.ipRanges.empty()) build.ipRanges = &options.ipRanges;
  build.timeWindow = options.timeWindow;

  // Step 9: build the graph from the input files; a file that cannot be opened or read ends
  // the run with the status graph construction gives.
  std::vector<InputFile>& inputs = commandLine.inputs;
  makeRoomForInputs(inputs.size());
  BuildReport report(static_cast<int>(inputs.size()));
  switch (buildGraph(inputs, build, graph, &report)) {
    case buildOk:
      break;
    case buildCountOverflow:
      return exitRefused;
    default:
      return exitUnreadable;
  }
  // A file of the first letters read the wrong way is said so once, rather than also that
  // nothing came of it; the letters that always warned when nothing came keep that warning.
  const std::vector<std::string> warnings = letterWarnings(
      inputs, report, !options.as32 && !options.stats && !options.statsJson, build.family);
  std::vector<bool> warned(inputs.size());
  for (std::size_t k = 0; k < warnings.size(); ++k) {
    warned[k] = !warnings[k].empty() && !formatOf(inputs[k].type).warnWhenUnused;
  }
  if (options.statsJson) {
    // The report is the last line, whole, for scripts that read it.
    printWarnings(stderr, warnings);
    printStatisticsJson(stderr, inputs, &report, graph);
  } else {
    if (options.stats) {
      printStatistics(stderr, inputs, report, graph);
    } else {
      warnUnusedInputs(stderr, inputs, report, &warned);
    }
    printWarnings(stderr, warnings);
  }

  // Step 10: the new input files follow the names read from the input graph; the comment is
  // always replaced, so without --comment it becomes empty. A file read in both passes has two
  // entries and is recorded once, at its first.
  for (const InputFile& input : inputs) {
    if (!input.rereads) graph.addSourceFile(input.name.c_str());
  }
  graph.setComment(options.comment.c_str());

  // Step 11: write the graph to the output file or standard output. Step 12: status 0.
  return writeGraph(outFile, graph, stdoutIsTerm);
}

// A run with --sum: the graph files added up into one graph, which is written as a built graph
// is. The output may be one of the graphs, since every graph is read whole before the write.
int sumAndWrite(const RunOptions& options, bool stdoutIsTerm) {
  const char* outFile = options.outFile ? options.outFile->c_str() : nullptr;
  if (!mayWriteOutput(options)) return exitRefused;
  ASGraph graph;
  GraphSum sum(graph, ASWidth{options.as32}, familyOf(options));
  for (const std::string& name : options.sumGraphs) {
    std::string reason;
    const GraphSum::Result result = sum.add(name.c_str(), reason);
    if (result == GraphSum::Result::ok) continue;
    printHeader(stderr);
    switch (result) {
      case GraphSum::Result::unopened:
        fprintf(stderr, "Error while opening source graph `%s'\n(%s)\n", name.c_str(),
                reason.c_str());
        break;
      case GraphSum::Result::invalid:
      case GraphSum::Result::otherFamily:
        fprintf(stderr, "File `%s' does not appear to be a valid graph file:\n%s\n", name.c_str(),
                reason.c_str());
        if (result == GraphSum::Result::otherFamily && !options.ipv6) {
          fprintf(stderr, "%s\n", kIPv6GraphHint);
        }
        break;
      default:
        fprintf(stderr, "Error: `%s' cannot be added: %s\n", name.c_str(), reason.c_str());
        break;
    }
    return exitRefused;
  }
  if (sum.conflicts() != 0) {
    printHeader(stderr);
    fprintf(stderr,
            "Warning: the graphs oriented %llu edges in different ways; they are left "
            "unoriented\n",
            static_cast<unsigned long long>(sum.conflicts()));
  }
  if (options.statsJson) {
    printStatisticsJson(stderr, {}, nullptr, graph);
  } else if (options.stats) {
    printHeader(stderr);
    printGraphTotals(stderr, graph);
  }
  graph.setComment(options.comment.c_str());
  return writeGraph(outFile, graph, stdoutIsTerm);
}

}  // namespace

int runZelgrin(int argc, char* argv[]) {
  const char* progName = (argc > 0 && argv[0] != nullptr) ? argv[0] : "zelgrin";
  const OutOfMemoryHandler memoryHandler;

  // Steps 1 and 2: the command line lives here for the whole run.
  CommandLine commandLine;
  std::string message;
  if (!parseArguments(argc, argv, commandLine, message)) {
    printHeader(stderr);
    fprintf(stderr, "Syntax error: %s\n", message.c_str());
    fprintf(stderr, "Type %s --help for more information\n", progName);
    if (!commandLine.hint.empty()) fprintf(stderr, "%s\n", commandLine.hint.c_str());
    return exitSyntax;
  }
  const RunOptions& options = commandLine.options;

  // Step 3.
  const bool stdoutIsTerm = isTerm(stdout);

  // Step 4: help and version do nothing else; no file is read or written.
  if (options.version) {
    printf("zelgrin 1.0\n");
    return exitOk;
  }
  if (options.help) {
    printHelp(stdout, progName);
    if (options.helpAll) printExtensionsHelp(stdout);
    return exitOk;
  }

  // Step 5.
  if (stdoutIsTerm) printHeader(stdout);
  if (options.sum) return sumAndWrite(options, stdoutIsTerm);
  return buildAndWrite(commandLine, stdoutIsTerm);
}
