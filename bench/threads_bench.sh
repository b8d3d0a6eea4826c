#!/usr/bin/env bash
# Measures -j: the paths + dumps workload (paths.txt for nodes and edges, every dumpN.txt for IP
# covering) with -j 1 and with -j N side by side, the runs alternating, RUNS rounds: wall and
# CPU seconds and peak memory of each run, and whether every graph is the bytes of -j 1's. With
# LIMIT, the parse-only limit program of the reference workloads runs on the same files in each
# round. The machine's load average is printed beside the table: other work on it slows the runs.
# A summary follows: the median and least wall time of each, and their ratios.
#
# Usage: bench/threads_bench.sh DATA [ZELGRIN] [THREADS...]   (default build/zelgrin, 2)
#   DATA  a folder with paths.txt and dump1.txt, dump2.txt ..., e.g. made by the reference
#         generator: python3 gen.py --small DATA
# Environment: RUNS (default 3), LIMIT (the limit program, built from limit.c).
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
# shellcheck source=bench/threads_common.sh
. "$here/threads_common.sh"

args=(--file:pne "$data/paths.txt")
files=("$data/paths.txt")
count=0
# ls -v: dump10 after dump9, in the order the reference workloads name them.
# shellcheck disable=SC2045
for dump in $(ls -v "$data"/dump[0-9]*.txt); do
  args+=(--file:bi "$dump")
  files+=("$dump")
  count=$((count + 1))
done
echo "paths + $count dumps, $runs rounds; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
threads_header
for r in $(seq "$runs"); do
  for j in 1 "${threads[@]}"; do threads_row "$bin" "$work" "$j" "$r" "${args[@]}"; done
  if [ -n "${LIMIT:-}" ]; then
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$LIMIT" "${files[@]}" >/dev/null
    read -r wall user sys peak <"$work/time"
    printf '%-6s %-4s %8s %8s %8s %9.1f\n' limit "$r" "$wall" "$user" "$sys" \
      "$(echo "$peak / 1024" | bc -l)"
    threads_note "$work" limit "$wall"
  fi
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
threads_summary "$work"
