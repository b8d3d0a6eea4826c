// zelgrin-export: reads one graph file and prints its summary or writes it for graph tools.
// The exit status tells the kind of failure, as zelgrin's does: 1 syntax error, 2 the graph
// file could not be opened or an output not created, 3 invalid graph, an output that is the
// graph file, unknown --around AS or a failed write. Nothing is written before the graph has
// been read whole.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "asgraph/as_graph.h"
#include "export/command_line.h"
#include "export/csv_writer.h"
#include "export/dot_writer.h"
#include "export/export_output.h"
#include "export/graph_input.h"
#include "export/graph_view.h"
#include "export/graphml_writer.h"
#include "export/json_writer.h"
#include "export/neighbourhood.h"
#include "export/output_buffer.h"
#include "export/summary.h"

namespace {

enum ExitStatus : int {
  exitOk = 0,
  exitSyntax = 1,
  exitUnreadable = 2,
  exitRefused = 3,
};

// Errors are preceded by the program's name and version, as zelgrin's are.
int report(int status, const std::string& message) {
  std::fprintf(stderr, "zelgrin-export 1.0\n%s", message.c_str());
  return status;
}

using Writer = void (*)(const GraphView&, OutputBuffer&);

void summaryWriter(const GraphView& view, OutputBuffer& out) {
  writeSummary(view, summarize(view), out);
}

// One text to write: where (a path, or standard output) and by which writer.
struct Output {
  std::string path;
  bool toStandardOutput;
  Writer writer;
};

std::vector<Output> plannedOutputs(const ExportOptions& options) {
  const bool toStandardOutput = options.output == nullptr;
  const std::string path = toStandardOutput ? "" : options.output;
  switch (options.format) {
    case ExportFormat::graphml:
      return {{path, toStandardOutput, writeGraphML}};
    case ExportFormat::json:
      return {{path, toStandardOutput, writeJson}};
    case ExportFormat::dot:
      return {{path, toStandardOutput, writeDot}};
    case ExportFormat::csv:
      if (options.edgesOnly) return {{path, toStandardOutput, writeEdgesCsv}};
      return {{path + "/nodes.csv", false, writeNodesCsv},
              {path + "/edges.csv", false, writeEdgesCsv}};
    case ExportFormat::summary:
      break;
  }
  return {{path, toStandardOutput, summaryWriter}};
}

// True when the output would replace the graph file being read: the same regular file through
// the same name, a hard link or a symbolic link; standard input counts as the file it reads.
// Asked before anything is read, as zelgrin asks it: the write would destroy the only copy.
bool outputIsTheInput(const char* graphFile, const Output& output) {
  struct stat out;
  if (output.toStandardOutput || stat(output.path.c_str(), &out) != 0 || !S_ISREG(out.st_mode)) {
    return false;
  }
  struct stat in;
  const int found =
      std::strcmp(graphFile, "-") == 0 ? fstat(STDIN_FILENO, &in) : stat(graphFile, &in);
  return found == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

std::string failedWrite(const Output& output, const std::string& reason) {
  if (output.toStandardOutput) return "Error while writing to standard output:\n" + reason + "\n";
  return "Error while writing file `" + output.path + "':\n" + reason + "\n";
}

// Writes every planned output in full, then puts them all in place, so that a failure leaves
// every existing file as it was (the CSV pair included).
int writeOutputs(const ExportOptions& options, const std::vector<Output>& outputs,
                 const GraphView& view) {
  std::string reason;
  if (options.format == ExportFormat::csv && !options.edgesOnly &&
      !makeFolders(options.output, reason)) {
    return report(exitUnreadable, std::string("Unable to make folder `") + options.output + "'\n(" +
                                      reason + ")\n");
  }
  std::vector<ExportOutput> files(outputs.size());
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const Output& output = outputs[i];
    if (!files[i].open(output.toStandardOutput ? nullptr : output.path.c_str())) {
      return report(exitUnreadable, "Unable to open file `" + output.path + "' for writing\n(" +
                                        files[i].reason() + ")\n");
    }
    OutputBuffer buffer(files[i].stream());
    output.writer(view, buffer);
    if (!buffer.flush()) return report(exitRefused, failedWrite(output, buffer.reason()));
    if (!files[i].finish()) return report(exitRefused, failedWrite(output, files[i].reason()));
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (!files[i].commit()) return report(exitRefused, failedWrite(outputs[i], files[i].reason()));
  }
  return exitOk;
}

}  // namespace

int main(int argc, char* argv[]) {
  ExportOptions options;
  std::string message;
  if (!parseExportArguments(argc, argv, options, message)) {
    return report(exitSyntax, "Syntax error: " + message +
                                  "\nType zelgrin-export --help for more information\n");
  }
  if (options.version) {
    std::printf("zelgrin-export 1.0\n");
    return exitOk;
  }
  if (options.help) {
    printExportHelp(stdout, options.helpAll);
    return exitOk;
  }

  const std::vector<Output> outputs = plannedOutputs(options);
  for (const Output& output : outputs) {
    if (outputIsTheInput(options.graphFile, output)) {
      return report(exitRefused,
                    "Error: Output file `" + output.path + "' is also an input file\n");
    }
  }

  ASGraph graph;
  switch (loadGraph(options.graphFile, graph, message)) {
    case LoadResult::loaded:
      break;
    case LoadResult::unreadable:
      return report(exitUnreadable, message);
    case LoadResult::invalid:
      return report(exitRefused, message);
  }

  GraphView view(graph);
  if (options.around) {
    std::vector<ASNumber> kept;
    if (!findNeighbourhood(graph, options.aroundAS, options.depth, kept)) {
      return report(exitRefused,
                    "AS " + std::to_string(options.aroundAS) + " is not in the graph\n");
    }
    view.focus(options.aroundAS, options.depth, std::move(kept));
  }
  return writeOutputs(options, outputs, view);
}
