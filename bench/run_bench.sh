#!/usr/bin/env bash
# Measures zelgrin on the reference workloads and prints one table: for each workload its time
# and peak memory, the parse-only limit (reading every byte and converting every number) and a
# plain Python dict script doing comparable work, with the ratios and the goals; then a list of
# long random paths (bytes per edge), the same memory for ten times the lines, a graph file of a
# million edges read and written (and the write and read rates of this source tree's writer and
# reader alone, from the micro-benchmark), and the 32-bit AS number runs.
#
# Usage: bench/run_bench.sh [ZELGRIN]        (default build/zelgrin)
# Environment:
#   BENCH_DATA   folder with paths.txt, rel.txt and dump1.txt, dump2.txt ... (default: bench/data,
#                generated there by the reference generator when missing)
#   PEERS        folder with the reference generator gen.py, limit.c and peer_plain.py
#                (default: ../shared/bench beside the project)
#   RUNS         runs of each zelgrin and limit measurement, the median is kept (default 3)
#   PYTHON_DUMPS set to 0 to skip the Python script on the dumps (it takes about 40 s)
#   GRAPH_BENCH  the graph file micro-benchmark (default build-bench/bench/graph_file_bench,
#                made by `make bench`); without it the write rate is left out
# Standard output of every program goes to a regular file: the null device counts as a terminal
# and would draw progress bars.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
bin=$(realpath "${1:-$root/build/zelgrin}")
peers=${PEERS:-$root/../shared/bench}
data=${BENCH_DATA:-$here/data}
runs=${RUNS:-3}
graph_bench=${GRAPH_BENCH:-$root/build-bench/bench/graph_file_bench}

if [ ! -f "$data/paths.txt" ]; then
  [ -f "$peers/gen.py" ] || { echo "no data in $data and no generator in $peers" >&2; exit 2; }
  echo "generating the workloads in $data (a few minutes) ..." >&2
  python3 "$peers/gen.py" "$data" >&2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dumps=()
while IFS= read -r dump; do dumps+=("$dump"); done < <(ls -v "$data"/dump[0-9]*.txt)

limit=""
if [ -f "$peers/limit.c" ]; then
  cc -O2 -o "$work/limit" "$peers/limit.c" && limit="$work/limit"
fi
python_peer=""
[ -f "$peers/peer_plain.py" ] && python_peer="$peers/peer_plain.py"

# measure NAME COUNT COMMAND...: runs the command COUNT times; leaves the median seconds in
# $seconds and the largest peak memory in MB in $megabytes.
measure() {
  local name=$1 count=$2 i
  shift 2
  : >"$work/$name.times"
  for ((i = 0; i < count; i++)); do
    if ! /usr/bin/time -f "%e %M" -o "$work/$name.time" "$@" >"$work/$name.stdout" \
      2>"$work/$name.stderr"; then
      echo "$name failed: $(tail -1 "$work/$name.stderr")" >&2
    fi
    tail -1 "$work/$name.time" >>"$work/$name.times"
  done
  seconds=$(sort -n "$work/$name.times" | awk '{t[NR] = $1} END {print t[int((NR + 1) / 2)]}')
  megabytes=$(awk '$2 > m {m = $2} END {printf "%.1f", m / 1024}' "$work/$name.times")
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.1f", a / b; else print "-"}'; }
# verdict VALUE OP LIMIT: "ok" or "MISSED", for the goal column.
verdict() { awk -v v="$1" -v l="$3" -v op="$2" 'BEGIN {
  ok = (op == "<=") ? v <= l : v >= l; print ok ? "ok" : "MISSED" }'; }
edges_of() { sed -n "$(($(sed -n 2p "$1") + 5))p" "$1"; }

echo "zelgrin: $bin"
echo "data:    $data ($(du -sh "$data" | cut -f1)); median of $runs runs; $(nproc) cores," \
  "load $(cut -d' ' -f1 /proc/loadavg)"
echo

printf '%-14s | %8s %8s | %8s %6s %-10s | %8s %8s %6s %s\n' work zelgrin MB limit ratio goal \
  python MB faster goal
printf -- '-%.0s' {1..110}
echo
row() {  # NAME ZELGRIN_ARGS... -- LIMIT_FILES... -- PYTHON_ARGS...
  local name=$1
  shift
  local zargs=() lfiles=() pargs=()
  while [ "$1" != "--" ]; do zargs+=("$1"); shift; done
  shift
  while [ "$1" != "--" ]; do lfiles+=("$1"); shift; done
  shift
  pargs=("$@")
  measure "$name" "$runs" "$bin" -f -o "$work/$name.graph" "${zargs[@]}"
  local zs=$seconds zm=$megabytes ls="-" lr="-" lg="" ps="-" pm="-" pf="-" pg=""
  if [ -n "$limit" ] && [ ${#lfiles[@]} -gt 0 ]; then
    measure "$name.limit" "$runs" "$limit" "${lfiles[@]}"
    ls=$seconds
    lr=$(ratio "$zs" "$ls")
    lg="$(verdict "$lr" "<=" 3) <=3x"
  fi
  if [ -n "$python_peer" ] && [ ${#pargs[@]} -gt 0 ]; then
    measure "$name.python" 1 python3 "$python_peer" "${pargs[@]}" -o "$work/$name.python.out"
    ps=$seconds
    pm=$megabytes
    pf=$(ratio "$ps" "$zs")
    if [ "$name" = relationships ]; then
      local half
      half=$(awk -v m="$pm" 'BEGIN {print m / 2}')
      pg="$(verdict "$pf" ">=" 10) >=10x, $(verdict "$zm" "<=" "$half") MB<=half"
    else
      pg="$(verdict "$pf" ">=" 12) >=12x"
    fi
  fi
  printf '%-14s | %8s %8s | %8s %6s %-10s | %8s %8s %6s %s\n' "$name" "$zs" "$zm" "$ls" "$lr" \
    "$lg" "$ps" "$pm" "$pf" "$pg"
}

row paths --file:pnec "$data/paths.txt" -- "$data/paths.txt" -- --paths "$data/paths.txt"
dump_args=()
python_dump_args=()
for d in "${dumps[@]}"; do dump_args+=(--file:bi "$d"); python_dump_args+=(--dump "$d"); done
if [ "${PYTHON_DUMPS:-1}" = 0 ]; then
  row paths+dumps --file:pne "$data/paths.txt" "${dump_args[@]}" -- "$data/paths.txt" \
    "${dumps[@]}" --
else
  row paths+dumps --file:pne "$data/paths.txt" "${dump_args[@]}" -- "$data/paths.txt" \
    "${dumps[@]}" -- --paths "$data/paths.txt" "${python_dump_args[@]}"
fi
row relationships --file:vned "$data/rel.txt" -- -- --rel "$data/rel.txt"
echo

# Long random paths: nearly every pair is a new edge, so this measures what an edge costs.
python3 "$here/generate_long_paths.py" "$work/long.txt"
measure long 1 "$bin" -f -o "$work/long.graph" --file:pnec "$work/long.txt"
long_edges=$(edges_of "$work/long.graph")
per_edge=$(awk -v m="$megabytes" -v e="$long_edges" 'BEGIN {printf "%.0f", m * 1048576 / e}')
printf 'long paths (1000 x 5000 hops, %s edges): %s s, %s MB, %s bytes per edge' "$long_edges" \
  "$seconds" "$megabytes" "$per_edge"
printf '   goals: %s <5 s, %s <640 MB, %s <=128 B/edge\n' "$(verdict "$seconds" "<=" 5)" \
  "$(verdict "$megabytes" "<=" 640)" "$(verdict "$per_edge" "<=" 128)"

# Memory bounded by the graph: a tenth of the path list, then that tenth given ten times.
head -n 500000 "$data/paths.txt" >"$work/tenth.txt"
measure tenth 1 "$bin" -f -o "$work/tenth.graph" --file:pnec "$work/tenth.txt"
once=$megabytes
ten_args=()
for k in 1 2 3 4 5 6 7 8 9 10; do ten_args+=(--file:pnec "$work/tenth.txt"); done
measure tenfold 1 "$bin" -f -o "$work/tenfold.graph" "${ten_args[@]}"
growth=$(awk -v a="$megabytes" -v b="$once" 'BEGIN {printf "%.1f", (a / b - 1) * 100}')
printf 'same topology, ten times the lines: %s MB once, %s MB tenfold (%+.1f%%)' \
  "$once" "$megabytes" "$growth"
printf '   goal: %s within 10%%\n' "$(verdict "${growth#-}" "<=" 10)"

# The graph file of 100,000 nodes and 1,000,000 edges: read and written again by the program,
# then the rates of the writer and the reader of this source tree on their own.
python3 "$here/generate_graph_file.py" "$work/big.graph"
big_mb=$(awk -v b="$(stat -c %s "$work/big.graph")" 'BEGIN {printf "%.1f", b / 1048576}')
measure enhance "$runs" "$bin" -f --as32 --enhance "$work/big.graph" --comment x \
  -o "$work/again.graph"
printf 'graph file of 1M edges (%s MB) read and written: %s s, %s MB\n' "$big_mb" "$seconds" \
  "$megabytes"
if [ -x "$graph_bench" ]; then
  "$graph_bench" --benchmark_format=csv >"$work/graphfile.csv" 2>/dev/null || true
  # CPU time and the clock's: on a busy machine the clock counts other programs' turns too.
  rate() { awk -F, -v n="\"$1\"" '$1 == n {printf "%.0f", $6 / 1e6}' "$work/graphfile.csv"; }
  clock_rate() {
    awk -F, -v n="\"$1\"" '$1 == n {printf "%.0f", $6 / 1e6 * $4 / $3}' "$work/graphfile.csv"
  }
  printf '  this tree alone: write %s MB/s (%s by the clock), read %s MB/s (%s)' \
    "$(rate BM_WriteGraphFile)" "$(clock_rate BM_WriteGraphFile)" "$(rate BM_ReadGraphFile)" \
    "$(clock_rate BM_ReadGraphFile)"
  printf '   goal: write %s >=100 MB/s\n' "$(verdict "$(rate BM_WriteGraphFile)" ">=" 100)"
else
  echo "  graph file rates of this tree: no $graph_bench (make bench builds it)"
fi

# 32-bit AS numbers: the same inputs, then a copy with every AS number beyond 65535.
measure narrow "$runs" "$bin" -f -o "$work/narrow.graph" --file:pnec "$data/paths.txt"
narrow=$seconds
measure wide "$runs" "$bin" -f -o "$work/wide.graph" --as32 --file:pnec "$data/paths.txt"
wide=$seconds
awk '{for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+$/) $i += 1000000; print}' "$data/paths.txt" \
  >"$work/paths-wide.txt"
measure wider "$runs" "$bin" -f -o "$work/wider.graph" --as32 --file:pnec "$work/paths-wide.txt"
wider=$seconds
rm -f "$work/paths-wide.txt"
slower() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%+.0f%%", (a / b - 1) * 100}'; }
printf -- '--as32 paths: %s s (%s), every AS above 65535: %s s (%s), 16-bit run %s s' \
  "$wide" "$(slower "$wide" "$narrow")" "$wider" "$(slower "$wider" "$narrow")" "$narrow"
printf '   goal: %s within 10%%\n' \
  "$(verdict "$(awk -v a="$wider" -v b="$narrow" 'BEGIN {print a / b}')" "<=" 1.10)"

# -j: the paths + dumps workload with one thread and with two, side by side.
RUNS=$runs bash "$here/threads_bench.sh" "$data" "$bin" 2
