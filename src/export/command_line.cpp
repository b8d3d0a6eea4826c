#include "export/command_line.h"

#include <cstring>

namespace {

std::string quoted(const char* prefix, const char* text) {
  return std::string(prefix) + "`" + text + "'";
}

bool formatNamed(const char* name, ExportFormat& format) {
  static const struct {
    const char* name;
    ExportFormat format;
  } kFormats[] = {{"graphml", ExportFormat::graphml},
                  {"csv", ExportFormat::csv},
                  {"json", ExportFormat::json},
                  {"dot", ExportFormat::dot}};
  for (const auto& entry : kFormats) {
    if (std::strcmp(name, entry.name) == 0) {
      format = entry.format;
      return true;
    }
  }
  return false;
}

// An AS number as the graph file has it, or with "AS" in front as people write it; the exporter
// reads graphs of 32-bit AS numbers.
bool readAS(const char* text, ASNumber& as) {
  if ((text[0] == 'A' || text[0] == 'a') && (text[1] == 'S' || text[1] == 's')) text += 2;
  return readASToken(text, std::strlen(text), as, ASWidth{true}) == ASRead::ok;
}

bool readDepth(const char* text, unsigned& depth) {
  const char* last = text + std::strlen(text);
  unsigned long long value = 0;
  const NumberRead read = readDigits(text, last, value);
  if (read.status != NumberStatus::ok || read.ptr != last || value > 1000000) return false;
  depth = static_cast<unsigned>(value);
  return true;
}

// The checks that need the whole command line.
bool checkCombination(const ExportOptions& options, bool summaryAsked, bool formatGiven,
                      bool depthGiven, std::string& message) {
  if (options.graphFile == nullptr) {
    message = "Graph file name expected";
  } else if (summaryAsked && formatGiven) {
    message = "--summary and --to cannot be used together";
  } else if (options.edgesOnly && options.format != ExportFormat::csv) {
    message = "--edges-only goes with --to csv only";
  } else if (options.format == ExportFormat::csv && !options.edgesOnly &&
             options.output == nullptr) {
    message = "--to csv writes two files: name their folder with -o, or use --edges-only";
  } else if (depthGiven && !options.around) {
    message = "--depth goes with --around only";
  }
  return message.empty();
}

}  // namespace

bool parseExportArguments(int argc, char* const argv[], ExportOptions& options,
                          std::string& message) {
  message.clear();
  bool summaryAsked = false;
  bool formatGiven = false;
  bool depthGiven = false;
  bool outputGiven = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    // Options that take a value take the next argument, whatever it looks like.
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    const bool takesValue = std::strcmp(arg, "--to") == 0 || std::strcmp(arg, "-o") == 0 ||
                            std::strcmp(arg, "--around") == 0 || std::strcmp(arg, "--depth") == 0;
    if (takesValue && value == nullptr) {
      message = quoted("Value expected after ", arg);
      return false;
    }
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "--help-all") == 0) {
      options.help = true;
      if (std::strcmp(arg, "--help-all") == 0) options.helpAll = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      options.version = true;
    } else if (std::strcmp(arg, "--summary") == 0) {
      summaryAsked = true;
    } else if (std::strcmp(arg, "--edges-only") == 0) {
      options.edgesOnly = true;
    } else if (std::strcmp(arg, "--to") == 0) {
      if (formatGiven)
        message = "There is more than one --to option";
      else if (!formatNamed(value, options.format))
        message = quoted("Unknown format: ", value);
      formatGiven = true;
    } else if (std::strcmp(arg, "-o") == 0) {
      if (outputGiven) message = "There is more than one output";
      // "-" is standard output, as it is standard input for the graph file.
      options.output = std::strcmp(value, "-") == 0 ? nullptr : value;
      outputGiven = true;
    } else if (std::strcmp(arg, "--around") == 0) {
      if (options.around)
        message = "There is more than one --around option";
      else if (!readAS(value, options.aroundAS))
        message = quoted("Invalid AS number: ", value);
      options.around = true;
    } else if (std::strcmp(arg, "--depth") == 0) {
      if (depthGiven)
        message = "There is more than one --depth option";
      else if (!readDepth(value, options.depth))
        message = quoted("Invalid depth: ", value);
      depthGiven = true;
    } else if (arg[0] == '-' && arg[1] != '\0') {
      message = quoted("Invalid option: ", arg);
    } else if (options.graphFile != nullptr) {
      message = "There is more than one graph file";
    } else {
      options.graphFile = arg;
    }
    if (!message.empty()) return false;
    if (takesValue) ++i;
  }
  if (options.help || options.version) return true;
  return checkCombination(options, summaryAsked, formatGiven, depthGiven, message);
}
