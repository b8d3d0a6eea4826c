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
# shellcheck source=bench/threads_common.sh
. "$here/threads_common.sh"

args=(--file:pnec "$data/paths.txt")
count=0
for dump in $(ls -v "$data"/dump[0-9]*.txt); do args+=(--file:bi "$dump"); count=$((count + 1)); done
echo "paths + $count dumps, $runs runs each; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
threads_header
for j in 1 "${threads[@]}"; do
  for r in $(seq "$runs"); do threads_row "$bin" "$work" "$j" "$r" "${args[@]}"; done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
