#!/usr/bin/env bash
# Measures -j: the paths + dumps workload (paths.txt for nodes, edges and path covering, every
# dumpN.txt for IP covering) with -j 1 and with -j N side by side, each run RUNS times: wall and
# CPU seconds and peak memory of each run, and whether every graph is the bytes of -j 1's.
# The machine's load average is printed beside the table: other work on it slows the runs.
#
# Usage: bench/threads_bench.sh DATA [ZELGRIN] [THREADS...]   (default build/zelgrin, 2)
#   DATA  a folder with paths.txt and dump1.txt, dump2.txt ..., e.g. made by the reference
#         generator: python3 gen.py --small DATA
# Environment: RUNS (default 3).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
data=$1
bin=$(realpath "${2:-$here/../build/zelgrin}")
shift $(($# < 2 ? $# : 2))
threads=("$@")
[ ${#threads[@]} -gt 0 ] || threads=(2)
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

args=(--file:pnec "$data/paths.txt")
count=0
for dump in $(ls -v "$data"/dump[0-9]*.txt); do args+=(--file:bi "$dump"); count=$((count + 1)); done
echo "paths + $count dumps, $runs runs each; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %-4s %8s %8s %8s %9s %s\n' threads run wall user sys peak_MB graph
for j in 1 "${threads[@]}"; do
  for r in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
      "$bin" -j "$j" -f -o "$work/g$j" "${args[@]}" >"$work/out" 2>&1
    read -r wall user sys peak <"$work/time"
    same=same
    cmp -s "$work/g1" "$work/g$j" || same=DIFFERENT
    printf '%-6s %-4s %8s %8s %8s %9.1f %s\n' "$j" "$r" "$wall" "$user" "$sys" \
      "$(echo "$peak / 1024" | bc -l)" "$same"
  done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
