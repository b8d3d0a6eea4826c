#!/usr/bin/env bash
# Measures decoding in a thread of its own: a generated RIB compressed with gzip, bzip2 and zstd,
# each read by its format's decoder alone (writing to /dev/null) and by the program with -j 1 and
# -j 2, side by side in one run. Prints wall seconds and peak RSS (MB), best of the runs, and
# the ratio of -j 2 to the decoder alone (the goal is 1.1 or less on two cores). Also checks that
# -j 2 writes the graph of -j 1 byte for byte.
# Usage: bench/readahead_bench.sh [path/to/zelgrin] [prefixes, default 250000] [runs, default 3]
# The inputs are generated once into bench/data/readahead/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../build/zelgrin}
prefixes=${2:-250000}
runs=${3:-3}
data=$here/data/readahead
mkdir -p "$data"
rib=$data/rib-$prefixes.mrt
[ -f "$rib" ] || python3 "$here/generate_rib.py" "$rib" --prefixes "$prefixes" --peers 20
[ -f "$rib.gz" ] || gzip -k "$rib"
[ -f "$rib.bz2" ] || bzip2 -k "$rib"
[ -f "$rib.zst" ] || zstd -q -k "$rib" -o "$rib.zst"

# Best wall time and its peak RSS over the runs of one command: "seconds megabytes".
best() {
  local best_s="" best_kb=""
  for _ in $(seq "$runs"); do
    local line s kb
    /usr/bin/time -o "$data/time" -f "%e %M" "$@" >/dev/null 2>&1 || true
    line=$(tail -1 "$data/time")
    s=${line% *}; kb=${line#* }
    if [ -z "$best_s" ] || awk -v a="$s" -v b="$best_s" 'BEGIN{exit !(a<b)}'; then
      best_s=$s; best_kb=$kb
    fi
  done
  echo "$best_s $((best_kb / 1024))"
}

printf '%-6s %10s %10s %10s %8s   %s\n' format decoder "-j 1" "-j 2" ratio "peak MB (decoder, -j 1, -j 2)"
for entry in "gzip .gz zcat" "bzip2 .bz2 bzcat" "zstd .zst zstdcat"; do
  read -r name suffix tool <<<"$entry"
  input=$rib$suffix
  read -r tool_s tool_mb <<<"$(best "$tool" "$input")"
  read -r one_s one_mb <<<"$(best "$bin" --as32 -f -o "$data/one.graph" --file:mnec "$input")"
  read -r two_s two_mb <<<"$(best "$bin" --as32 -j 2 -f -o "$data/two.graph" --file:mnec "$input")"
  cmp -s "$data/one.graph" "$data/two.graph" || echo "$name: -j 2 wrote another graph than -j 1"
  ratio=$(awk -v a="$two_s" -v b="$tool_s" 'BEGIN{printf "%.2f", a/b}')
  printf '%-6s %10s %10s %10s %8s   %s, %s, %s\n' "$name" "$tool_s" "$one_s" "$two_s" "$ratio" \
    "$tool_mb" "$one_mb" "$two_mb"
done
rm -f "$data/one.graph" "$data/two.graph" "$data/time"
