#include "driver/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <sched.h>

#include "build/open_input.h"
#include "driver/cpu_quota.h"

namespace {

// Quotes an argument the way every message of the program does: `text'
std::string quoted(const char* prefix, const std::string& text) {
  return std::string(prefix) + "`" + text + "'";
}

// The graph file keeps the comment and the input file names one per line: a line break in
// either would break the file, or slip whole fake lines into it.
bool hasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// An argument that looks like an option but is none: a mistyped option must not become the
// name of the output file. A lone "-" is a name.
bool looksLikeOption(const char* arg) { return arg[0] == '-' && arg[1] != '\0'; }

// How a vantage number reads in a 32-bit run.
enum class VantageRead { ok, wideOnly, invalid };

// The vantage number of a dump, read as strtol reads a decimal number, followed by an asdot low
// part ("1.10" is 65546; each half 0 to 65535), from 1 to 4294967295. wideOnly: a number that a
// 16-bit run refuses (above 65535, or asdot). The width is not known while the arguments are
// read, since --as32 may follow the number; so the number is read as wide, and what a 16-bit
// run would say is kept for later.
VantageRead readVantage(const char* text, ASNumber& as) {
  const ASWidth wide{true};
  long long value = 0;
  const char* last = text + std::strlen(text);
  const char* end = readDecimalAS(text, last, value, wide);
  if (end == text || end != last || !wide.accepts(static_cast<unsigned long long>(value))) {
    return VantageRead::invalid;
  }
  as = static_cast<ASNumber>(value);
  // A dot in a number that was read whole is the dot of asdot.
  const bool asdot = std::strchr(text, '.') != nullptr;
  return asdot || value > kLargestAS16 ? VantageRead::wideOnly : VantageRead::ok;
}

struct OptionRow;

// The state of one reading of the arguments.
struct Scan {
  CommandLine& out;
  std::string& message;
  InputFile current;                   // the entry of the --file: option being read
  const OptionRow* pending = nullptr;  // takes the next argument, whatever it looks like
  bool commentGiven = false;
  bool stdinTaken = false;  // an input file or the graph to enhance is "-"
  int32_t allContents = 0;
  const char* wideOnlyVantage = nullptr;  // the first vantage number a 16-bit run refuses
  bool fromList = false;      // the entry comes from --files-from, which has no limit of entries
  std::size_t listed = 0;     // entries from --files-from: the limit counts the others only
  int at = 0;                 // the argument being read
  int fileNameAt = -1;        // the last argument taken as the file name of a --file: option
  int bareOutputAt = -1;      // the bare argument taken as the output
  bool threadsGiven = false;  // -j was given

  bool tooMany(std::size_t adding) const {
    return !fromList && out.inputs.size() - listed + adding > maxInputFiles;
  }

  bool fail(std::string text) {
    message = std::move(text);
    return false;
  }
  // Standard input serves one input only: true, with the message, for a second "-".
  bool secondStdin(const char* name) {
    if (!isStdinName(name)) return false;
    if (stdinTaken) {
      message = "Standard input can be read only once";
      return true;
    }
    stdinTaken = true;
    return false;
  }
};

// One option, or one argument an option awaits. A handler returns false after setting the
// message; it gets the option's value when takesArgument, the option itself otherwise.
struct OptionRow {
  const char* name;    // matched whole, or as a prefix when it ends in ':'
  bool takesArgument;  // the next argument is the value, whatever it looks like
  bool (*handle)(Scan& scan, const char* arg);
  const char* missing;  // when takesArgument: the error when the command line ends first
};

bool takeVantage(Scan& scan, const char* arg);
bool takeFileName(Scan& scan, const char* arg);

const char kModernTableHint[] =
    "A router table as today's routers print it (show ip bgp) is read with --file:t";
const char kOneFilePerOptionHint[] = "Each input file needs its own --file: option";

// The arguments a --file: option awaits: the vantage number (B, T), then the file name.
const OptionRow vantageStep{nullptr, true, takeVantage,
                            "Vantage point number expected after --file option"};
const OptionRow fileNameStep{nullptr, true, takeFileName, "File name expected after --file option"};

bool takeVantage(Scan& scan, const char* arg) {
  switch (readVantage(arg, scan.current.vantage)) {
    case VantageRead::invalid:
      return scan.fail(quoted("Invalid vantage point number: ", arg));
    case VantageRead::wideOnly:
      if (scan.wideOnlyVantage == nullptr) scan.wideOnlyVantage = arg;
      break;
    case VantageRead::ok:
      break;
  }
  scan.pending = &fileNameStep;
  return true;
}

bool takeFileName(Scan& scan, const char* arg) {
  InputFile& file = scan.current;
  const InputFormat& format = formatOf(file.type);
  if (file.contents & ~format.allowedContents) {
    // Today's routers print a table the dump reader does not take; its own letter does.
    if (format.type == bgpFile) scan.out.hint = kModernTableHint;
    return scan.fail(format.refusal);
  }
  if (scan.secondStdin(arg)) return false;
  if (hasLineBreak(arg)) {
    return scan.fail(quoted("Input file name cannot contain a line break: ", arg));
  }
  file.name = arg;
  if (!scan.fromList) scan.fileNameAt = scan.at;
  scan.allContents |= file.contents;
  std::vector<InputFile>& inputs = scan.out.inputs;
  // IP covering comes from the merge of the second pass, the rest from the first: the file
  // gets a second entry for the merge.
  if (!readInBothPasses(format, file.contents)) {
    inputs.push_back(std::move(file));
    return true;
  }
  if (scan.tooMany(2)) return scan.fail("Too many input files (at most 100)");
  InputFile second = file;
  second.contents = getIPCovering;
  second.rereads = true;
  file.contents &= ~getIPCovering;
  inputs.push_back(std::move(file));
  inputs.push_back(std::move(second));
  return true;
}

// --file:LETTERS: one format letter and content letters in any order; the vantage number (for
// a format that takes one) and the file name follow as arguments of their own.
bool startFile(Scan& scan, const char* arg) {
  if (scan.tooMany(1)) return scan.fail("Too many input files (at most 100)");
  InputFile& file = scan.current;
  file = InputFile();
  bool typeGiven = false;
  bool vantageGiven = false;
  for (const char* c = arg + 7; *c != '\0'; ++c) {
    const ContentLetter* content = findContent(*c);
    if (content != nullptr) {
      if (file.contents & content->flag) return scan.fail(content->duplicate);
      file.contents |= content->flag;
      continue;
    }
    const InputFormat* format = findFormat(*c);
    if (format == nullptr) {
      return scan.fail(quoted("Invalid file type/contents flag: ", std::string(1, *c)));
    }
    if (typeGiven) return scan.fail(quoted("Possibly ambiguous file type: ", arg));
    file.type = format->type;
    typeGiven = true;
    vantageGiven = vantageGiven || format->takesVantage;
  }
  if (!typeGiven || file.contents == 0) {
    return scan.fail("At least one file type and one file content are needed");
  }
  scan.pending = vantageGiven ? &vantageStep : &fileNameStep;
  return true;
}

// A line of an input list holds letters, a vantage number and a file name: no more than a path.
constexpr std::size_t kLongestListLine = 8192;

// One line of an input list: "LETTERS [VANTAGE] NAME".
bool takeListedFile(Scan& scan, const std::string& line) {
  const std::size_t lettersEnd = std::min(line.find_first_of(" \t"), line.size());
  const std::string option = "--file:" + line.substr(0, lettersEnd);
  if (!startFile(scan, option.c_str())) return false;
  std::size_t next = line.find_first_not_of(" \t", lettersEnd);
  if (scan.pending == &vantageStep) {
    if (next == std::string::npos) return scan.fail(vantageStep.missing);
    const std::size_t vantageEnd = std::min(line.find_first_of(" \t", next), line.size());
    const std::string vantage = line.substr(next, vantageEnd - next);
    if (!takeVantage(scan, vantage.c_str())) return false;
    next = line.find_first_not_of(" \t", vantageEnd);
  }
  scan.pending = nullptr;
  if (next == std::string::npos) return scan.fail(fileNameStep.missing);
  return takeFileName(scan, line.substr(next).c_str());
}

// --files-from LIST: one input a line, as the arguments of a --file: option would give it: the
// letters, the vantage AS for a format that takes one, then the file name, which is the rest of
// the line (so it may hold blanks). Blank lines and lines starting with '#' are skipped. An
// error names the list and the line.
bool takeFileList(Scan& scan, const char* list) {
  std::FILE* in = std::fopen(list, "r");
  if (in == nullptr) {
    return scan.fail(quoted("Cannot read the input list ", list) + " (" + std::strerror(errno) +
                     ")");
  }
  std::string line;
  unsigned long number = 0;
  bool ok = true;
  scan.fromList = true;
  for (int c = 0; ok && c != EOF;) {
    line.clear();
    while ((c = std::fgetc(in)) != EOF && c != '\n' && line.size() < kLongestListLine) {
      line += static_cast<char>(c);
    }
    if (line.size() >= kLongestListLine) {
      ok = scan.fail(quoted("In ", list) + " line " + std::to_string(number + 1) +
                     ": line too long");
      break;
    }
    if (c == EOF && line.empty()) break;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const std::size_t before = scan.out.inputs.size();
    ok = takeListedFile(scan, line.substr(start));
    scan.listed += scan.out.inputs.size() - before;
    if (!ok)
      scan.message = quoted("In ", list) + " line " + std::to_string(number) + ": " + scan.message;
  }
  scan.fromList = false;
  if (ok && std::ferror(in)) {
    ok = scan.fail(quoted("Cannot read the input list ", list) + " (" + std::strerror(errno) + ")");
  }
  std::fclose(in);
  return ok;
}

bool takeIPRanges(Scan& scan, const char* arg) {
  std::string bad;
  if (!scan.out.options.ipRanges.addList(arg, bad))
    return scan.fail(quoted("Invalid IP range: ", bad));
  return true;
}

bool takeTimeWindow(Scan& scan, const char* arg) {
  if (!readTimeWindow(arg, scan.out.options.timeWindow)) {
    return scan.fail(quoted("Invalid time window: ", arg) +
                     " (START,END: UNIX seconds or YYYY-MM-DDTHH:MM:SS, END after START)");
  }
  return true;
}

bool takeGraph(Scan& scan, const char* arg) {
  std::optional<std::string>& graph = scan.out.options.sourceGraph;
  if (graph.has_value()) return scan.fail("There is more than one input graph");
  if (scan.secondStdin(arg)) return false;
  graph = arg;
  return true;
}

bool takeOutput(Scan& scan, const char* arg) {
  if (scan.out.options.outFile.has_value()) {
    return scan.fail("There is more than one output file");
  }
  scan.out.options.outFile = arg;
  return true;
}

bool takeComment(Scan& scan, const char* arg) {
  if (scan.commentGiven) return scan.fail("There is more than one comment");
  if (hasLineBreak(arg)) return scan.fail("Comment cannot contain a line break");
  scan.out.options.comment.assign(arg, std::min(std::strlen(arg), maxCommentLength));
  scan.commentGiven = true;
  return true;
}

// -j N: a whole decimal number from 1 to maxThreads.
bool takeThreads(Scan& scan, const char* arg) {
  int value = 0;
  const char* c = arg;
  for (; *c >= '0' && *c <= '9' && value <= maxThreads; ++c) value = value * 10 + (*c - '0');
  if (c == arg || *c != '\0' || value < 1 || value > maxThreads) {
    return scan.fail(quoted("Invalid number of threads: ", arg) + " (1 to " +
                     std::to_string(maxThreads) + ")");
  }
  scan.out.options.threads = value;
  scan.threadsGiven = true;
  return true;
}

// The cores this process may run on (its affinity mask), fewer when its cgroup grants less CPU
// time than that, at most maxThreads; 1 when unknown.
int availableCores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  long long count = CPU_COUNT(&set);
  const long long quota = cgroupCpuLimit();
  if (quota > 0 && quota < count) count = quota;
  return static_cast<int>(std::min<long long>(std::max<long long>(count, 1), maxThreads));
}

// Any other argument names the output file, once; after --sum, a graph file to add.
bool takeBareArgument(Scan& scan, const char* arg) {
  RunOptions& options = scan.out.options;
  if (options.sum && !looksLikeOption(arg)) {
    if (scan.secondStdin(arg)) return false;
    options.sumGraphs.push_back(arg);
    return true;
  }
  if (scan.out.options.outFile.has_value() || looksLikeOption(arg)) {
    // Names in a row after one --file: option: the first is its file, the second became the
    // output, this one has no place.
    if (!looksLikeOption(arg) && scan.bareOutputAt == scan.at - 1 &&
        scan.fileNameAt == scan.at - 2) {
      scan.out.hint = kOneFilePerOptionHint;
    }
    return scan.fail(quoted("Invalid option: ", arg));
  }
  scan.out.options.outFile = arg;
  scan.out.options.outFileBare = true;
  scan.bareOutputAt = scan.at;
  return true;
}

// A switch: sets one setting of the run.
template <bool RunOptions::*setting>
bool setFlag(Scan& scan, const char*) {
  scan.out.options.*setting = true;
  return true;
}

bool setStatsJson(Scan& scan, const char*) {
  scan.out.options.stats = true;
  scan.out.options.statsJson = true;
  return true;
}

bool setHelpAll(Scan& scan, const char*) {
  scan.out.options.help = true;
  scan.out.options.helpAll = true;
  return true;
}

const OptionRow options[] = {
    {"--comment", true, takeComment, "Comment expected after --comment option"},
    {"--enhance", true, takeGraph, "Graph file name expected after --enhance option"},
    {"-f", false, setFlag<&RunOptions::force>, nullptr},
    {"-v", false, setFlag<&RunOptions::verbose>, nullptr},
    {"-o", true, takeOutput, "Output file name expected after -o option"},
    {"--help", false, setFlag<&RunOptions::help>, nullptr},
    {"--help-all", false, setHelpAll, nullptr},
    {"--version", false, setFlag<&RunOptions::version>, nullptr},
    {"--as32", false, setFlag<&RunOptions::as32>, nullptr},
    {"--stats", false, setFlag<&RunOptions::stats>, nullptr},
    {"--stats=json", false, setStatsJson, nullptr},
    {"--exact-covering", false, setFlag<&RunOptions::exactCovering>, nullptr},
    {"--sum", false, setFlag<&RunOptions::sum>, nullptr},
    {"--ip-range", true, takeIPRanges, "IPv4 prefixes expected after --ip-range option"},
    {"--files-from", true, takeFileList, "File name expected after --files-from option"},
    {"--no-self-loops", false, setFlag<&RunOptions::noSelfLoops>, nullptr},
    {"--ipv6", false, setFlag<&RunOptions::ipv6>, nullptr},
    {"--time-window", true, takeTimeWindow, "START,END expected after --time-window option"},
    {"--file:", false, startFile, nullptr},
    {"-j", true, takeThreads, "Number of threads expected after -j option"},
};

const OptionRow* findOption(const char* arg) {
  for (const OptionRow& row : options) {
    const std::size_t length = std::strlen(row.name);
    const bool prefix = row.name[length - 1] == ':';
    if (prefix ? std::strncmp(arg, row.name, length) == 0 : std::strcmp(arg, row.name) == 0) {
      return &row;
    }
  }
  return nullptr;
}

// Reads the arguments in order; false at the first that is wrong, or when an option misses
// its argument.
bool scanArguments(int argc, char* argv[], Scan& scan) {
  for (int a = 1; a < argc; ++a) {
    const char* arg = argv[a];
    if (arg == nullptr) continue;
    scan.at = a;
    if (scan.pending != nullptr) {
      const OptionRow* awaiting = scan.pending;
      scan.pending = nullptr;
      if (!awaiting->handle(scan, arg)) return false;
      continue;
    }
    const OptionRow* row = findOption(arg);
    if (row == nullptr) {
      if (!takeBareArgument(scan, arg)) return false;
    } else if (row->takesArgument) {
      scan.pending = row;
    } else if (!row->handle(scan, arg)) {
      return false;
    }
  }
  if (scan.pending == nullptr) return true;
  // A file option asking for nodes, edges or directions misses its name before its vantage.
  if (scan.pending == &vantageStep &&
      (scan.current.contents & (getNodes | getEdges | getDirections))) {
    return scan.fail(fileNameStep.missing);
  }
  return scan.fail(scan.pending->missing);
}

// The checks on the options taken together, in this order. Help and version skip only the
// first: the rest is wrong whatever is asked.
// An IPv6 graph takes nothing from inputs that can only hold IPv4 routes or addresses: a classic
// dump, whose IPv6 routes stay unreadable, or a path-saturation file's counts of addresses.
bool refuseIPv4Only(Scan& scan) {
  for (const InputFile& input : scan.out.inputs) {
    if (input.type == bgpFile) {
      return scan.fail("BGP dumps (b, B) hold IPv4 routes only: they cannot be used with --ipv6");
    }
    if (input.type == satFile && (input.contents & getIPCovering)) {
      return scan.fail(
          "The IP covering of a path-saturation file counts IPv4 addresses: `i' cannot be used "
          "with --ipv6");
    }
  }
  return true;
}

bool checkCombination(Scan& scan) {
  const RunOptions& options = scan.out.options;
  // A sum reads graph files only: nothing is built, so nothing else may be asked of the run.
  if (options.sum) {
    if (!scan.out.inputs.empty() || options.sourceGraph) {
      return scan.fail("--sum cannot be combined with --file: or --enhance");
    }
    if (options.sumGraphs.empty()) return scan.fail("Graph file names expected after --sum option");
    return true;
  }
  const int32_t all = scan.allContents;
  const bool haveGraph = options.sourceGraph.has_value();
  if (!options.help && !options.version && !haveGraph && !(all & getNodes)) {
    return scan.fail("At least a file to get nodes from is needed");
  }
  if ((all & getDirections) && !haveGraph && !(all & getEdges)) {
    return scan.fail("Cannot assign edge directions without a file to get edges from");
  }
  if ((all & (getPathCovering | getIPCovering)) && !haveGraph && !(all & getEdges)) {
    return scan.fail("Cannot use covering information without a file to get edges from");
  }
  // A way's count of several ranges is the sum of its counts of each only when every address
  // is counted once: the classic count is not additive.
  if (!options.ipRanges.empty() && !options.exactCovering) {
    return scan.fail(
        "--ip-range needs --exact-covering (the classic count is not additive over "
        "ranges)");
  }
  // The ranges are IPv4 blocks; an IPv6 graph counts units of another space.
  if (!options.ipRanges.empty() && options.ipv6) {
    return scan.fail("--ip-range takes IPv4 prefixes: it cannot be used with --ipv6");
  }
  if (options.ipv6 && !refuseIPv4Only(scan)) return false;
  if (scan.out.inputs.empty() && haveGraph && !scan.commentGiven) {
    return scan.fail("This would not change so much in the existing graph...");
  }
  return true;
}

// Reading order: each file joins the group of its lowest content bit, groups in bit order (by
// exchanges, so a group's files need not keep their order). Then the files merged by prefix
// move behind the rest, keeping both groups' order (only a path-saturation file with nothing but
// i can stand among them before this).
void orderInputs(std::vector<InputFile>& inputs) {
  std::size_t placed = 0;
  for (const ContentLetter& content : contentLetters) {
    for (std::size_t j = placed; j < inputs.size(); ++j) {
      if (inputs[j].contents & content.flag) std::swap(inputs[j], inputs[placed++]);
    }
  }
  std::stable_partition(inputs.begin(), inputs.end(),
                        [](const InputFile& input) { return !readInMerge(input); });
}

bool mentions(int argc, char* argv[], const char* text) {
  for (int a = 1; a < argc; ++a) {
    if (argv[a] != nullptr && std::strcmp(argv[a], text) == 0) return true;
  }
  return false;
}

}  // namespace

bool parseArguments(int argc, char* argv[], CommandLine& commandLine, std::string& message) {
  message.clear();
  Scan scan{commandLine, message, InputFile()};
  const bool ok = scanArguments(argc, argv, scan) && checkCombination(scan);
  // The arguments were read as in a 32-bit run. A 16-bit run stops at the first vantage number
  // it refuses: the run is 16-bit without --as32 among the options, or, when the arguments are
  // wrong before it is known which argument is an option, without --as32 among the arguments.
  const bool wide = ok ? commandLine.options.as32 : mentions(argc, argv, "--as32");
  if (!wide && scan.wideOnlyVantage != nullptr) {
    message = quoted("Invalid vantage point number: ", scan.wideOnlyVantage);
    commandLine.hint.clear();
    return false;
  }
  if (!ok) return false;
  if (!scan.threadsGiven) commandLine.options.threads = availableCores();
  if (commandLine.options.help || commandLine.options.version) return true;
  orderInputs(commandLine.inputs);
  return true;
}
