// The help text of zelgrin-export --help.
#include "export/command_line.h"

void printExportHelp(std::FILE* out) {
  std::fputs(
      "zelgrin-export 1.0\n"
      "USAGE: zelgrin-export [options] GRAPH\n"
      "\n"
      "Reads a graph file written by zelgrin (\"-\" reads standard input) and prints\n"
      "its summary, or writes it in a format that graph tools read.\n"
      "\n"
      "  --summary        print sizes, shares, degrees, the main ASes and the\n"
      "                   covering totals (the default)\n"
      "  --to FORMAT      write the graph as FORMAT:\n"
      "                     graphml  GraphML (networkx, igraph, Gephi, yEd)\n"
      "                     csv      nodes.csv and edges.csv in the folder named\n"
      "                              by -o (made when missing)\n"
      "                     json     node-link JSON (networkx, d3)\n"
      "                     dot      graphviz: arrows from customer to provider,\n"
      "                              blue lines between peers, dashed unknown\n"
      "  --edges-only     with --to csv: the edge table alone, to -o FILE or\n"
      "                   standard output\n"
      "  --around AS      only AS and the ASes within --depth hops of it, with\n"
      "                   the edges among them (AS as 7018, AS7018 or 1.10)\n"
      "  --depth N        hops for --around (default 1)\n"
      "  -o PATH          write to PATH instead of standard output; an existing\n"
      "                   file is replaced only once the new one is complete\n"
      "  --help           print this text\n"
      "  --version        print the version\n"
      "\n"
      "Exit status: 0 done, 1 syntax error, 2 the graph file could not be opened\n"
      "or an output not created, 3 invalid graph, AS of --around not in the\n"
      "graph, or a failed write.\n",
      out);
}
