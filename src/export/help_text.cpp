// The help text of zelgrin-export --help, and what --help-all adds: the graphs that came after
// the classic ones.
#include "export/command_line.h"

void printExportHelp(std::FILE* out, bool all) {
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
      "                     json     node-link JSON (networkx, d3), edges under\n"
      "                              \"links\"\n"
      "                     dot      graphviz: arrows from customer to provider,\n"
      "                              blue lines between peers, dashed unknown\n"
      "                   GraphML and JSON edges run from customer to provider\n"
      "                   (peer and unknown ones in the graph file's order); the\n"
      "                   fields *_ab are the way from source to target\n"
      "  --edges-only     with --to csv: the edge table alone, to -o FILE or\n"
      "                   standard output\n"
      "  --around AS      only AS and the ASes within --depth hops of it, with\n"
      "                   the edges among them (AS as 7018, AS7018 or 1.10)\n"
      "  --depth N        hops for --around (default 1)\n"
      "  -o PATH          write to PATH instead of standard output (- is standard\n"
      "                   output); an existing file is replaced only once the new\n"
      "                   one is complete, and never the graph file itself\n"
      "  --help           print this text (also --help-all)\n"
      "  --version        print the version\n"
      "\n"
      "Exit status: 0 done, 1 syntax error, 2 the graph file could not be opened\n"
      "or an output not created, 3 invalid graph, an output that is the graph\n"
      "file, AS of --around not in the graph, or a failed write.\n",
      out);
  if (!all) return;
  std::fputs(
      "\n"
      "IPv6 graphs (type line VGR6, written by zelgrin --ipv6) are read as any\n"
      "other; their IP covering counts IPv6 /64 units, not addresses, and every\n"
      "output says so: the summary reads \"plain IPv6\" and \"IPv6 /64 units\", the\n"
      "fields ip_ab and ip_ba are named ipv6_slash64_ab and ipv6_slash64_ba (with\n"
      "a GraphML description), GraphML and JSON add the graph datum\n"
      "ip_covering_unit (\"IPv6 /64 units\"), and the dot label names an IPv6 graph.\n",
      out);
}
