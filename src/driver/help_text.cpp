// The help text of --help. Kept word for word: users and scripts compare it.
#include <cstdio>

#include "driver/command_line.h"
#include "console/console.h"

void printHelp(FILE* out, const char* progName) {
  const bool term = isTerm(out);
  const char* bold = term ? "\033[1m" : "";
  const char* underline = term ? "\033[4m" : "";
  const char* reset = term ? "\033[0m" : "";
  printHeader(out);
  fprintf(out, "%sVORNA toolkit%s AS graph builder\n", bold, reset);
  fprintf(out,
          "USAGE: %s [options] [[-o] <outFile>] {--file:{bBsvpunedci} <filename>...}\n\n",
          progName);
  fprintf(out, "%sInput files%s must be provided using --file option, in the following way:\n",
          underline, reset);
  fputs(
      "  --file:  this preamble is used to indicate that a file name will follow;\n"
      "           each file must be identified by its format (BGP dump, list of\n"
      "           AS paths, etc.) and the contents that must be extracted from it\n"
      "           (nodes, edges, etc.)\n\n"
      "  {bBsvpu} each `--file:' option must be followed by exactly one of these\n"
      "           letters, which identify file format as follows:\n"
      "             b,B  file is a BGP dump (see below for an explanation of the\n"
      "                  difference between 'b' and 'B')\n"
      "             s    file is the output of a kolvarn computation\n"
      "             v    file is a relationship file (i.e., each line looks as\n"
      "                  follows: `<AS1> <AS2> <flag>'; when flag is 1, AS1 is\n"
      "                  supposed to be a provider and AS2 a customer; if flag\n"
      "                  is 0, AS1 and AS2 have a peering relationship)\n"
      "             p    file is a plain list of AS paths (i.e., paths must\n"
      "                  neither be groupped by number of occurrences nor tagged)\n"
      "             u    file is a list of couples of ASs whose corresponding\n"
      "                  edges could not be assigned a direction\n\n"
      "  {nedci}  each `--file:' option must also be followed by at least one of\n"
      "           these letters, which identify what to get from current file:\n"
      "             n    get graph nodes from current file; do not use if file\n"
      "                  format is 'b'\n"
      "             e    get graph edges (but not their direction) from current\n"
      "                  file; edges are inserted in the graph only if they do\n"
      "                  not exist yet; otherwise, they are left unchanged; do\n"
      "                  not use if file format is 'b'\n"
      "             d    get direction of already existing edges from current\n"
      "                  file; do not use if file format is either 'b' or 'u'\n"
      "             c    get path covering (number of paths that traverse each\n"
      "                  edge) from current file; do not use if file format is\n"
      "                  any one of 'b', 'v' or 'u'\n"
      "             i    get IP address covering (number of IP addresses that are\n"
      "                  announced over each edge) from current file; only use if\n"
      "                  file format is 'b'\n\n"
      "  <filename>  the name of the current input file\n\n\n"
      "Option --file can be used with more than one content per file; this allows\n"
      "to optimize file access, by avoiding that each file is read more than\n"
      "once; anyway, regardless of the order in which files are provided on\n"
      "command line, they are always read in the following order:\n"
      "nodes files, edges files, edge directions files, path covering files, IP\n"
      "address covering files.\n"
      "Minimal input consists of a file to get nodes from.\n\n"
      "When using option --file to feed more than one file with the same\n"
      "contents, the result is that such contents are merged together (e.g., all\n"
      "the nodes from all the files are inserted in the graph - of course, with\n"
      "no duplicates... -, all the IP addresses found in all the BGP dumps are\n"
      "supposed to be exchanged over the appropriate edges - without considering\n"
      "addresses more than once -, etc.).\n\n"
      "File ordering is significant; in fact, if (for example) two node files A\n"
      "and B are provided, and A is also an edge file, reading A before B implies\n"
      "that none of the edges between nodes in B (but not in A) will be inserted.\n"
      "The only exception are the BGP dumps: since they are ordered according to\n"
      "the value of the network, the sequence in which they are provided on the\n"
      "command line can be arbitrary.\n\n"
      "If the AS paths inside the BGP dumps do not include receiving vantage\n"
      "point number, it is possible to use 'B' instead of 'b'; by doing this,\n"
      "following parameters are expected to be the number of the AS that should\n"
      "be prepended to each path and the name of the file containing the BGP dump.\n\n"
      "BGP dumps are processed as follows: no check is performed for both cycles\n"
      "and private ASs; AS sets are just skipped; prepending is automatically\n"
      "skipped because AS graphs (usually...) do not have self-edges; incomplete\n"
      "paths are considered as they appear.\n\n\n",
      out);
  fprintf(out, "%sOptions%s are:\n", underline, reset);
  fputs(
      "  --comment <string>  Insert a comment string inside the graph (e.g., to\n"
      "                      make it easier to understand which data set it comes\n"
      "                      from); by default, graph is also labelled with the\n"
      "                      names of the files it was built from\n"
      "  --enhance <filename>  Read an existing graph file and perform some sort\n"
      "                        of update over it; when using this option, input\n"
      "                        files can be of any type (i.e., minimal input is\n"
      "                        not a nodes file any more); it is also possible to\n"
      "                        give no input files if, for example, one just\n"
      "                        wants to update graph comment; this is the only\n"
      "                        file name that can be replaced with '-' if input\n"
      "                        graph is provided on standard input\n"
      "  -f      Don't prompt user (default behaviour) before overwriting\n"
      "          existing files\n"
      "  -v      Be verbose: report all errors that occur during file parsing\n"
      "  --help  Show this help\n\n\n"
      "<outFile> is the name of the output file graph. If none is given, the\n"
      "graph will be dumped to stdout. Use -o option when ambiguities may arise\n"
      "between file name and other command line options.\n",
      out);
}

void printExtensionsHelp(FILE* out) {
  const bool term = isTerm(out);
  const char* underline = term ? "\033[4m" : "";
  const char* reset = term ? "\033[0m" : "";
  fprintf(out, "\n\n%sExtensions%s beyond the options above:\n", underline, reset);
  fputs(
      "  --version   Print the program's name and version, and do nothing else\n"
      "  --help-all  Show this help, with this section\n"
      "  --as32      Read 32-bit AS numbers (1 to 4294967295, or in asdot notation\n"
      "              such as 1.10) in every input file and in the graph to enhance;\n"
      "              use it for routing data of today, which names 4-byte ASes.\n"
      "              The graph file may then hold numbers above 65535, which\n"
      "              readers of 16-bit graphs (zelgrin without --as32) refuse\n"
      "  --stats     After the build, print on standard error what each input\n"
      "              file gave (lines read, records used, records skipped by\n"
      "              reason) and the totals of the graph\n"
      "  --exact-covering  Count each IP address once per way, however the prefixes\n"
      "              of the dumps nest; by default an address is counted again when\n"
      "              another prefix was counted on the way in between\n"
      "  --ip-range PREFIX[,PREFIX...]  With --exact-covering: count in the IP\n"
      "              covering only the addresses inside these IPv4 prefixes (a route\n"
      "              that overlaps them counts the overlap): which ASes carry the\n"
      "              traffic to a block. The graphs of disjoint blocks add up (--sum)\n"
      "              to the graph of their union\n"
      "  --sum GRAPH...  Add up graph files instead of building a graph: nodes and\n"
      "              edges are the union, the path and IP covering of each way the\n"
      "              sums, the source files those of the graphs in order; an edge\n"
      "              takes the orientation of the graphs that oriented it, and is\n"
      "              left unoriented (with a warning) when they disagree. Not with\n"
      "              --file or --enhance; name the output with -o\n"
      "  --files-from LIST  Read input files from LIST, one a line, as a --file\n"
      "              option gives them: the letters, the vantage AS for B and T, then\n"
      "              the file name (the rest of the line): \"mneci rib.gz\",\n"
      "              \"Bi 7018 dump.txt\"; '#' lines and blank lines are skipped. The\n"
      "              list has no limit of 100 files\n"
      "  -j N        Read the inputs with up to N threads (1 to 256; by default one\n"
      "              per core): the dumps of the merge are parsed ahead of it. The\n"
      "              graph and every message are those of -j 1\n"
      "  -           As the file name of a --file option: read that input from\n"
      "              standard input (with no progress bar); only one input, and\n"
      "              not together with --enhance -, can be read from it\n\n"
      "  More format letters for --file:\n"
      "    t,T  router table as today's routers print it (IOS, IOS-XE, IOS-XR,\n"
      "         NX-OS, Arista EOS, FRR); 'T' is followed by the vantage AS, as 'B';\n"
      "         contents n, e, c (each route's path is one path of a path list)\n"
      "         and i (merged with the BGP dumps); asked for i and more, the file\n"
      "         is read in both passes, so one table alone builds a whole graph\n"
      "    m    MRT routing data (RFC 6396) as route collectors publish it: RIB\n"
      "         dumps and BGP updates; every RIB entry and every announced prefix\n"
      "         is one path (n, e, c); the IPv4 RIB entries are merged with the BGP\n"
      "         dumps (i); asked for i and more, the file is read in both passes\n"
      "    r    relationship file as published: <a>|<b>|-1 (a is the provider of\n"
      "         b), <a>|<b>|0 (peers), an optional source field, '#' comments;\n"
      "         also SNAP's tab-separated copy; contents n, e, d\n"
      "  A file of these letters from which nothing could be used gets a warning.\n"
      "  Every input file and the graph to enhance may be gzip, bzip2, xz or zstd\n"
      "  compressed: the format is told by the file's first bytes.\n\n"
      "zelgrin-export(1) prints a summary of a graph file or writes it for graph\n"
      "tools (GraphML, CSV, JSON, graphviz).\n",
      out);
}
