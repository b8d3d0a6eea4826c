#!/usr/bin/env bash
# Times zelgrin on large generated inputs next to `wc -l` over the same files and prints
# lines per second, MB/s, peak memory and the ratio to `wc -l`.
# Usage: bench/run_bench.sh [path/to/zelgrin] [generator options...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../build/zelgrin}
shift || true
data=$here/data
if [ ! -f "$data/paths.txt" ]; then
  echo "generating inputs in $data ..."
  python3 "$here/generate_inputs.py" "$data" "$@"
fi
files=("$data"/paths.txt "$data"/dump*.txt)
lines=$(cat "${files[@]}" | wc -l)
bytes=$(cat "${files[@]}" | wc -c)

seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N); echo "$end - $start" | bc; }

wc_time=$(seconds wc -l "${files[@]}")
args=(-f -o "$data/out.graph" --file:pnedc "$data/paths.txt")
for dump in "$data"/dump*.txt; do args+=(--file:bi "$dump"); done
/usr/bin/time -f "%e %M" -o "$data/time.txt" "$bin" "${args[@]}" >/dev/null
read -r z_time z_kb <"$data/time.txt"

printf 'input: %d files, %d lines, %.1f MB\n' "${#files[@]}" "$lines" "$(echo "$bytes / 1000000" | bc -l)"
printf 'wc -l:   %6.2f s\n' "$wc_time"
printf 'zelgrin: %6.2f s, %.0f lines/s, %.1f MB/s, peak memory %.1f MB, %.1f x wc -l\n' \
  "$z_time" "$(echo "$lines / $z_time" | bc -l)" "$(echo "$bytes / 1000000 / $z_time" | bc -l)" \
  "$(echo "$z_kb / 1024" | bc -l)" "$(echo "$z_time / $wc_time" | bc -l)"
