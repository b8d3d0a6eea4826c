#!/bin/sh
# Builds an AS graph from the example inputs and prints a short summary of it.
# Usage: examples/demo.sh path/to/zelgrin [output graph]
set -eu
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
out=${2:-$(dirname "$bin")/demo.graph}
cd "$here"
# Paths give nodes, edges, directions and path covering; the relationship file corrects the
# directions; dump-a was taken at AS 7018 without it in its paths, dump-b has full paths.
"$bin" -f -o "$out" \
  --comment "zelgrin example graph" \
  --file:pnedc paths.txt \
  --file:vd relationships.txt \
  --file:Bi 7018 dump-a.txt \
  --file:bi dump-b.txt
echo "Graph written to $out"
# The header: marker, source count, sources, comment, node count, edge count.
awk 'NR == 2 { sources = $1 }
     NR == 3 + sources { comment = $0 }
     NR == 4 + sources { nodes = $1 }
     NR == 5 + sources { edges = $1; start = NR + nodes + 1 }
     start && NR >= start { if ($3 == 1) oriented++; ip += $6 + $8 }
     END { printf "%d source files, comment \"%s\"\n%d nodes, %d edges (%d oriented), %d addresses of IP covering in all\n", sources, comment, nodes, edges, oriented, ip }' "$out"
echo "First edge lines (AS1 AS2 oriented direction paths1to2 ips1to2 paths2to1 ips2to1):"
awk 'NR == 2 { s = $1 } NR == 4 + s { n = $1 } n && NR > 5 + s + n && NR <= 10 + s + n' "$out"
