#!/usr/bin/env bash
# Measures what reading a compressed path list costs the program, next to the format's own
# command-line decoder on the same file, in one run. The program's cost of decoding is its time
# on the compressed file less its time on the plain one; the ratio divides that by the time of
# zcat, bzcat, xzcat or zstdcat writing the text to /dev/null (about 1 or less is the goal).
# Usage: bench/decode_bench.sh [path/to/zelgrin] [megabytes of path list, default 150] [runs]
# The inputs are generated once into bench/data/decode/ (the compressed ones take a few minutes).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../build/zelgrin}
megabytes=${2:-150}
runs=${3:-3}
data=$here/data/decode
mkdir -p "$data"
plain=$data/paths-${megabytes}MB.txt

if [ ! -f "$plain" ]; then
  echo "generating a path list of about $megabytes MB ..." >&2
  # The generator's path lines average about 24 bytes.
  python3 "$here/generate_inputs.py" "$data/gen" --paths $((megabytes * 42000)) --dumps 0
  mv "$data/gen/paths.txt" "$plain"
  rmdir "$data/gen"
fi

# format, suffix, compressor, decoder tool; each tool's default level, xz on one thread so that
# the file is one block as xz writes it by default.
formats=("gzip .gz gzip zcat" "bzip2 .bz2 bzip2 bzcat" "xz .xz xz_-T1 xzcat"
         "zstd .zst zstd_-q zstdcat")
for entry in "${formats[@]}"; do
  read -r name suffix compressor tool <<<"$entry"
  command -v "${compressor%%_*}" >/dev/null && command -v "$tool" >/dev/null || continue
  if [ ! -f "$plain$suffix" ]; then
    echo "compressing with $name ..." >&2
    ${compressor//_/ } -c "$plain" >"$plain$suffix.part" && mv "$plain$suffix.part" "$plain$suffix"
  fi
done

# Best processor time (user + system) of `runs` runs of the command with its standard output
# to OUT, in seconds. Processor time, not wall-clock time: a shared machine's load and the
# disk do not count in it.
# Usage: best OUT COMMAND...
best() {
  local out=$1 best_time="" t
  shift
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%U + %S" -o "$data/time.txt" "$@" >"$out"
    t=$(bc <"$data/time.txt")
    if [ -z "$best_time" ] || (($(echo "$t < $best_time" | bc))); then best_time=$t; fi
  done
  echo "$best_time"
}
# The program's standard output goes to a regular file: the null device counts as a terminal
# and would draw progress bars.
program=("$bin" -f -o "$data/out.graph" --file:pn)

mb() { echo "scale=1; $(stat -c %s "$1") / 1000000" | bc; }
lines=$(wc -l <"$plain")
printf 'input: %s, %d lines, %s MB; processor seconds, best of %d runs; %s --file:pn\n' \
  "$(basename "$plain")" "$lines" "$(mb "$plain")" "$runs" "$bin"
printf '%-6s %10s %11s %14s %-8s %8s %7s\n' format "stored MB" "zelgrin s" "decoding s" tool \
  "tool s" ratio
plain_time=$(best "$data/stdout.txt" "${program[@]}" "$plain")
printf '%-6s %10s %11.2f %14s %-8s %8s %7s\n' plain "$(mb "$plain")" "$plain_time" - - - -
for entry in "${formats[@]}"; do
  read -r name suffix compressor tool_name <<<"$entry"
  [ -f "$plain$suffix" ] || continue
  file=$plain$suffix
  time=$(best "$data/stdout.txt" "${program[@]}" "$file")
  decoding=$(echo "$time - $plain_time" | bc)
  tool_time=$(best /dev/null "$tool_name" "$file")
  printf '%-6s %10s %11.2f %14.2f %-8s %8.2f %7.2f\n' "$name" "$(mb "$file")" "$time" \
    "$decoding" "$tool_name" "$tool_time" "$(echo "$decoding / $tool_time" | bc -l)"
done
