#!/usr/bin/env bash
# Times zelgrin-export on a graph of about a million edges, next to zelgrin reading the same
# graph and writing it back (--enhance), and prints the time of each format and its ratio to
# that round trip. Each command runs three times; the best time counts.
# Usage: bench/export_bench.sh [build folder]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
data=$here/data/export
mkdir -p "$data"
cd "$data"

if [ ! -f big.graph ]; then
  echo "generating a graph of about a million edges in $data ..."
  # Random AS paths of two to six hops over 60000 ASes: about a million distinct AS pairs.
  python3 - <<'PY'
import random
rng = random.Random(11)
with open("paths.txt", "w") as out:
    for _ in range(350000):
        out.write(" ".join(str(rng.randint(1, 60000)) for _ in range(rng.randint(2, 6))) + "\n")
PY
  "$build/zelgrin" -f -o big.graph --comment "export benchmark" --file:pnedc paths.txt >/dev/null
fi

best() {
  local fastest="" start end took
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc)
    if [ -z "$fastest" ] || [ "$(echo "$took < $fastest" | bc)" = 1 ]; then fastest=$took; fi
  done
  echo "$fastest"
}

# The counts follow the source names and the comment.
read -r nodes edges < <(awk 'NR == 2 { s = $1 } NR == 4 + s { n = $1 }
                             NR == 5 + s { print n, $1; exit }' big.graph)
printf 'graph: %s nodes, %s edges, %.1f MB\n' "$nodes" "$edges" \
  "$(echo "$(stat -c %s big.graph) / 1000000" | bc -l)"
base=$(best "$build/zelgrin" --enhance big.graph --comment x -f -o round.graph)
printf '%-34s %7.2f s\n' "zelgrin --enhance (read + write)" "$base"
run() {
  local label=$1 size took
  shift
  took=$(best "$build/zelgrin-export" "$@" big.graph)
  size=$(du -sb out.* 2>/dev/null | awk '{ s += $1 } END { print s / 1000000 }')
  printf '%-34s %7.2f s  %5.2f x  %7.1f MB\n' "$label" "$took" "$(echo "$took / $base" | bc -l)" \
    "$size"
  rm -rf out.*
}
run "zelgrin-export --summary" --summary -o out.txt
run "zelgrin-export --to graphml" --to graphml -o out.graphml
run "zelgrin-export --to csv" --to csv -o out.csv
run "zelgrin-export --to json" --to json -o out.json
run "zelgrin-export --to dot" --to dot -o out.dot
