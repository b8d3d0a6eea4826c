# The graphs of 16 disjoint address blocks covering the whole space add up to the exact graph of
# all addresses: nodes, edges, path covering (taken in one part only) and IP covering per way.
# Only the source file lists differ, since the sum names the inputs of every part.
python3 "$ZELGRIN_EXAMPLES/../bench/generate_inputs.py" gen --paths 3000 --dumps 3 --routes 4000 >/dev/null
dumps="--file:Bi 7018 $ZELGRIN_EXAMPLES/dump-a.txt --file:bi $ZELGRIN_EXAMPLES/dump-b.txt"
for d in gen/dump*.txt; do dumps="$dumps --file:bi $d"; done
set -- $dumps
paths="--file:pne gen/paths.txt --file:pne $ZELGRIN_EXAMPLES/paths.txt"
"$ZELGRIN" -f -o whole.graph --exact-covering $paths --file:pc gen/paths.txt "$@" || exit 1
parts=""
for k in $(seq 0 15); do
  covering=""
  [ "$k" = 0 ] && covering="--file:pc gen/paths.txt"
  "$ZELGRIN" -f -o part$k.graph --exact-covering --ip-range $((k * 16)).0.0.0/4 $paths $covering "$@" || exit 1
  parts="$parts part$k.graph"
done
"$ZELGRIN" -f -o sum.graph --sum $parts || exit 1
# Everything after the source file list and the comment: node and edge counts, nodes, edges.
body() { awk 'NR == 2 { skip = $1 + 3 } NR > skip' "$1"; }
if cmp -s <(body whole.graph) <(body sum.graph); then echo "sum of the blocks = whole graph"; fi
(exec -a zelgrin "$ZELGRIN" -f -o x.graph --ip-range 10.0.0.0/8 $paths "$@")
(exec -a zelgrin "$ZELGRIN" -f -o x.graph --exact-covering --ip-range 10.0.0.1/8 $paths "$@")
