#!/usr/bin/env bash
# Measures -j on many RIBs: COUNT gzip MRT RIBs of PREFIXES prefixes from 10 peers each, read for
# nodes, edges, path covering and IP covering (--file:mneci each), with -j 1 and -j N side by
# side, each run RUNS times: wall and CPU seconds, peak memory, and whether every graph is the
# bytes of -j 1's, then the median and least wall times and their ratios. The RIBs are generated
# once into bench/data/ribs-COUNT-PREFIXES.
#
# Usage: bench/ribs_threads_bench.sh [ZELGRIN] [THREADS] [COUNT] [PREFIXES]
#        (default build/zelgrin, 2, 8 RIBs, 100000 prefixes)
# Environment: RUNS (default 3).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "${1:-$here/../build/zelgrin}")
threads=${2:-2}
count=${3:-8}
prefixes=${4:-100000}
runs=${RUNS:-3}
data=$here/data/ribs-$count-$prefixes
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=bench/threads_common.sh
. "$here/threads_common.sh"

mkdir -p "$data"
args=(--as32)
for seed in $(seq "$count"); do
  rib=$data/rib$seed.mrt.gz
  [ -f "$rib" ] || python3 "$here/generate_rib.py" "$rib" --prefixes "$prefixes" --peers 10 \
    --seed "$seed" --gzip >/dev/null
  args+=(--file:mneci "$rib")
done
echo "$count RIBs, $runs runs each, -j 1 and -j $threads alternating;" \
  "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
threads_header
for r in $(seq "$runs"); do
  for j in 1 "$threads"; do threads_row "$bin" "$work" "$j" "$r" "${args[@]}"; done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
threads_summary "$work"
