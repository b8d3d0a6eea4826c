#include "driver/command_line.h"

#include "build/open_input.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

char* copyString(const char* text) {
  size_t length = strlen(text);
  char* copy = new char[length + 1];
  memcpy(copy, text, length + 1);
  return copy;
}

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

// Reading order: each file joins the group of its lowest content bit, groups in bit order.
// Then the files merged by prefix move behind the rest, keeping both groups' order (only a
// path-saturation file with nothing but i can stand among them before this).
void orderFiles(cmdLineParams& params, int count) {
  int p = 0;
  for (const ContentLetter& content : contentLetters) {
    for (int j = p; j < count; ++j) {
      if (params.fileContents[j] & content.flag) {
        dynaSwap(params, j, p);
        ++p;
      }
    }
  }
  int others = 0;
  for (int j = 0; j < count; ++j) {
    if (readInMerge(formatOf(params.fileTypes[j]), params.fileContents[j])) continue;
    for (int k = j; k > others; --k) dynaSwap(params, k, k - 1);
    ++others;
  }
}

}  // namespace

cmdLineParams::cmdLineParams()
    : fileTypes(),
      fileContents(),
      vantagePoints(),
      rereads(),
      numOtherFiles(0),
      numBGPFiles(0),
      verbose(false),
      force(false),
      comment(),
      outFile(nullptr),
      sourceGraph(nullptr),
      help(false),
      helpAll(false),
      version(false),
      as32(false),
      stats(false),
      exactCovering(false) {
  for (char*& name : fileNames) name = nullptr;
}

cmdLineParams::~cmdLineParams() {
  for (char* name : fileNames) delete[] name;
  delete[] outFile;
  delete[] sourceGraph;
}

void dynaSwap(cmdLineParams& params, int a, int b) {
  char* name = params.fileNames[a];
  params.fileNames[a] = params.fileNames[b];
  params.fileNames[b] = name;
  file_type type = params.fileTypes[a];
  params.fileTypes[a] = params.fileTypes[b];
  params.fileTypes[b] = type;
  int32_t contents = params.fileContents[a];
  params.fileContents[a] = params.fileContents[b];
  params.fileContents[b] = contents;
  ASNumber vantage = params.vantagePoints[a];
  params.vantagePoints[a] = params.vantagePoints[b];
  params.vantagePoints[b] = vantage;
  bool rereads = params.rereads[a];
  params.rereads[a] = params.rereads[b];
  params.rereads[b] = rereads;
}

namespace {

bool scanArguments(int argc, char* argv[], cmdLineParams& params, std::string& message,
                   ASWidth width);

// --as32 may stand after the vantage numbers it widens, so a first scan in the wide mode finds
// out whether it is given as an option (and not, say, as a file name). A scan that fails before
// the end cannot tell; then the argument's mere presence decides.
bool wideRequested(int argc, char* argv[]) {
  cmdLineParams probe;
  std::string ignored;
  if (scanArguments(argc, argv, probe, ignored, ASWidth{true})) return probe.as32;
  for (int a = 1; a < argc; ++a) {
    if (argv[a] != nullptr && strcmp(argv[a], "--as32") == 0) return true;
  }
  return false;
}

}  // namespace

bool parseArguments(int argc, char* argv[], cmdLineParams& params, std::string& message) {
  return scanArguments(argc, argv, params, message, ASWidth{wideRequested(argc, argv)});
}

namespace {

bool scanArguments(int argc, char* argv[], cmdLineParams& params, std::string& message,
                   ASWidth width) {
  message.clear();
  params.verbose = false;
  params.help = false;
  params.helpAll = false;
  params.version = false;
  params.as32 = false;
  params.stats = false;
  params.exactCovering = false;
  params.force = false;
  params.numOtherFiles = 0;
  params.numBGPFiles = 0;

  bool vantagePending = false;
  bool namePending = false;
  bool graphPending = false;
  bool outPending = false;
  bool commentPending = false;
  bool commentGiven = false;
  bool stdinTaken = false;  // an input file or the graph to enhance is "-"
  // Standard input serves one input only: true, with the message, for a second "-".
  auto secondStdin = [&stdinTaken, &message](const char* name) {
    if (!isStdinName(name)) return false;
    if (stdinTaken) {
      message = "Standard input can be read only once";
      return true;
    }
    stdinTaken = true;
    return false;
  };
  int count = 0;         // files stored so far, and the index of the entry being filled
  int32_t allContents = 0;

  for (int a = 1; a < argc; ++a) {
    const char* arg = argv[a];
    if (arg == nullptr) continue;
    bool consumed = false;

    if (vantagePending) {
      long long value = 0;
      const char* last = arg + strlen(arg);
      const char* end = readDecimalAS(arg, last, value, width);
      if (end == arg || end != last || !width.accepts(static_cast<unsigned long long>(value))) {
        message = quoted("Invalid vantage point number: ", arg);
        return false;
      }
      params.vantagePoints[count] = static_cast<ASNumber>(value);
      vantagePending = false;
      namePending = true;
      consumed = true;
    }
    if (!consumed && namePending) {
      const InputFormat& format = formatOf(params.fileTypes[count]);
      if (params.fileContents[count] & ~format.allowedContents) {
        message = format.refusal;
        return false;
      }
      if (secondStdin(arg)) return false;
      if (hasLineBreak(arg)) {
        message = quoted("Input file name cannot contain a line break: ", arg);
        return false;
      }
      params.fileNames[count] = copyString(arg);
      allContents |= params.fileContents[count];
      ++count;
      // IP covering comes from the merge of the second pass, the rest from the first: the file
      // gets a second entry for the merge.
      if (readInBothPasses(format, params.fileContents[count - 1])) {
        if (count >= maxInputFiles) {
          message = "Too many input files (at most 100)";
          return false;
        }
        params.fileNames[count] = copyString(arg);
        params.fileTypes[count] = params.fileTypes[count - 1];
        params.vantagePoints[count] = params.vantagePoints[count - 1];
        params.fileContents[count] = getIPCovering;
        params.fileContents[count - 1] &= ~getIPCovering;
        params.rereads[count] = true;
        ++count;
      }
      namePending = false;
      consumed = true;
    }
    if (!consumed && graphPending) {
      if (params.sourceGraph != nullptr) {
        message = "There is more than one input graph";
        return false;
      }
      if (secondStdin(arg)) return false;
      params.sourceGraph = copyString(arg);
      graphPending = false;
      consumed = true;
    }
    if (!consumed && outPending) {
      if (params.outFile != nullptr) {
        message = "There is more than one output file";
        return false;
      }
      params.outFile = copyString(arg);
      outPending = false;
      consumed = true;
    }
    if (!consumed && commentPending) {
      if (commentGiven) {
        message = "There is more than one comment";
        return false;
      }
      if (hasLineBreak(arg)) {
        message = "Comment cannot contain a line break";
        return false;
      }
      strncpy(params.comment, arg, maxCommentLength);
      params.comment[maxCommentLength] = '\0';
      commentGiven = true;
      commentPending = false;
      consumed = true;
    }
    if (consumed) continue;

    if (strcmp(arg, "--comment") == 0) {
      commentPending = true;
    } else if (strcmp(arg, "--enhance") == 0) {
      graphPending = true;
    } else if (strcmp(arg, "-f") == 0) {
      params.force = true;
    } else if (strcmp(arg, "-v") == 0) {
      params.verbose = true;
    } else if (strcmp(arg, "-o") == 0) {
      outPending = true;
    } else if (strcmp(arg, "--help") == 0) {
      params.help = true;
    } else if (strcmp(arg, "--help-all") == 0) {
      params.help = true;
      params.helpAll = true;
    } else if (strcmp(arg, "--version") == 0) {
      params.version = true;
    } else if (strcmp(arg, "--as32") == 0) {
      params.as32 = true;
    } else if (strcmp(arg, "--stats") == 0) {
      params.stats = true;
    } else if (strcmp(arg, "--exact-covering") == 0) {
      params.exactCovering = true;
    } else if (strncmp(arg, "--file:", 7) == 0) {
      if (count >= maxInputFiles) {
        message = "Too many input files (at most 100)";
        return false;
      }
      params.fileContents[count] = 0;
      params.vantagePoints[count] = 0;
      params.rereads[count] = false;
      bool typeGiven = false;
      for (const char* c = arg + 7; *c != '\0'; ++c) {
        const ContentLetter* content = findContent(*c);
        if (content != nullptr) {
          if (params.fileContents[count] & content->flag) {
            message = content->duplicate;
            return false;
          }
          params.fileContents[count] |= content->flag;
          if (content->flag & (getNodes | getEdges | getDirections)) namePending = true;
          continue;
        }
        const InputFormat* format = findFormat(*c);
        if (format == nullptr) {
          message = quoted("Invalid file type/contents flag: ", std::string(1, *c));
          return false;
        }
        if (typeGiven) {
          message = quoted("Possibly ambiguous file type: ", arg);
          return false;
        }
        params.fileTypes[count] = format->type;
        typeGiven = true;
        if (format->takesVantage) vantagePending = true;
      }
      if (!typeGiven || params.fileContents[count] == 0) {
        message = "At least one file type and one file content are needed";
        return false;
      }
      if (!vantagePending) namePending = true;
    } else {
      if (params.outFile != nullptr || looksLikeOption(arg)) {
        message = quoted("Invalid option: ", arg);
        return false;
      }
      params.outFile = copyString(arg);
    }
  }

  const bool haveGraph = params.sourceGraph != nullptr;
  if (namePending) {
    message = "File name expected after --file option";
  } else if (graphPending) {
    message = "Graph file name expected after --enhance option";
  } else if (vantagePending) {
    message = "Vantage point number expected after --file option";
  } else if (commentPending) {
    message = "Comment expected after --comment option";
  } else if (outPending) {
    message = "Output file name expected after -o option";
  } else if (!params.help && !params.version && !haveGraph && !(allContents & getNodes)) {
    message = "At least a file to get nodes from is needed";
  } else if ((allContents & getDirections) && !haveGraph && !(allContents & getEdges)) {
    message = "Cannot assign edge directions without a file to get edges from";
  } else if ((allContents & (getPathCovering | getIPCovering)) && !haveGraph &&
             !(allContents & getEdges)) {
    message = "Cannot use covering information without a file to get edges from";
  } else if (count == 0 && haveGraph && !commentGiven) {
    message = "This would not change so much in the existing graph...";
  }
  if (!message.empty()) return false;
  if (params.help || params.version) return true;

  for (int k = 0; k < count; ++k) {
    if (!readInMerge(formatOf(params.fileTypes[k]), params.fileContents[k])) ++params.numOtherFiles;
  }
  params.numBGPFiles = static_cast<short>(count - params.numOtherFiles);
  orderFiles(params, count);
  return true;
}

}  // namespace
