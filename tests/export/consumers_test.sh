#!/usr/bin/env bash
# Loads zelgrin-export's output with networkx, igraph, Python's csv module, pandas and graphviz
# for five graphs: the example graph, a graph zelgrin builds from generated inputs (self-loops,
# peers, unknown edges, IP covering), a generated differential graph of 32-bit AS numbers, a
# small hand-written differential graph and a small hand-written IPv6 graph. Tools that are not
# installed are skipped.
# Usage: consumers_test.sh ZELGRIN ZELGRIN_EXPORT EXAMPLES_FOLDER
set -euo pipefail
zelgrin=$1
export_program=$2
examples=$3
here=$(cd "$(dirname "$0")" && pwd)
# Debian's interpreter, where the Debian packages of the tools are installed.
python=/usr/bin/python3
if [ ! -x "$python" ]; then
  echo "skipped: $python is not installed"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/example" "$work/generated" "$work/wide" "$work/differential" "$work/ipv6"
(cd "$examples" && "$zelgrin" -f -o "$work/example.graph" --comment "zelgrin example graph" \
  --file:pnedc paths.txt --file:vd relationships.txt \
  --file:Bi 7018 dump-a.txt --file:bi dump-b.txt >/dev/null)

"$python" "$here/generate_graph_inputs.py" "$work/inputs"
(cd "$work/inputs" && "$zelgrin" -f -o "$work/generated.graph" \
  --comment "$(printf 'generated <&> "q" caf\xe9')" \
  --file:pnedc 'paths&.txt' --file:pne extra.txt --file:vd rel.txt --file:bi dump.txt >/dev/null)

status=0
check() { "$python" "$here/check_consumers.py" "$export_program" "$@" || status=1; }
check "$work/example.graph" "$work/example" 7018
check "$work/generated.graph" "$work/generated" 6
check "$work/inputs/wide.graph" "$work/wide" 4294967295
check "$here/data/differential.graph" "$work/differential" 701
check "$here/data/ipv6.graph" "$work/ipv6" 6939
# networkx 3.4 and later look for node-link edges under another key unless told: when the
# PATH's python3 is another interpreter with networkx, the example graph is checked with it too.
other=$(command -v python3 || true)
if [ -n "$other" ] && [ "$(readlink -f "$other")" != "$(readlink -f "$python")" ] &&
  "$other" -c 'import networkx' 2>/dev/null; then
  mkdir "$work/other"
  "$other" "$here/check_consumers.py" "$export_program" "$work/example.graph" "$work/other" 7018 ||
    status=1
fi
exit $status
