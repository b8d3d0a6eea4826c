#!/bin/sh
# Builds an AS graph from the example inputs and prints its summary with zelgrin-export.
# Usage: examples/demo.sh path/to/zelgrin [output graph]   (zelgrin-export beside zelgrin)
set -eu
bin=$1
export_bin=$(dirname "$bin")/zelgrin-export
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
echo
"$export_bin" "$out"
echo
echo "First edge lines (AS1 AS2 oriented direction paths1to2 ips1to2 paths2to1 ips2to1):"
awk 'NR == 2 { s = $1 } NR == 4 + s { n = $1 } n && NR > 5 + s + n && NR <= 10 + s + n' "$out"
