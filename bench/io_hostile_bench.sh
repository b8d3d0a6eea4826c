#!/usr/bin/env bash
# Time and peak memory of zelgrin and zelgrin-export (and, when given, a second build to
# compare) on hostile inputs of the readers: 10 GiB of zeros in 7.8 KB of bzip2, 1 GiB of zeros
# in gzip, in zstd and plain (sparse), a path line of 24 MB, and the bzip2 bomb as the graph to
# enhance and to export. Each run has 6 GB of address space and 120 s.
# Usage: bench/io_hostile_bench.sh [build folder] [other build folder]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
builds=("${1:-$here/../build}")
[ -n "${2:-}" ] && builds+=("$2")
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
for _ in 1 2 3 4 5 6 7 8 9 10; do cat "$here/../tests/resource/data/zeros_1GiB.bz2"; done \
  >"$data/zeros10g.bz2"
for tool in gzip zstd; do
  head -c 16M /dev/zero | "$tool" -1 -c >"$data/member"
  for _ in $(seq 64); do cat "$data/member"; done >"$data/zeros1g.$tool"
done
truncate -s 1G "$data/zeros1g"
python3 -c "import sys; sys.stdout.write('1 2 3 ' * 4000000 + '\n')" >"$data/longline"
measure() {  # label, then the command: prints status, seconds and peak memory
  local label=$1; shift
  (ulimit -v 6000000; /usr/bin/time -f "%e %M" -o "$data/t" timeout 120 "$@" >/dev/null 2>&1)
  local status=$?
  read -r seconds kb < <(tail -1 "$data/t")
  printf '%-36s status %3s %8s s %9s KB\n' "$label" "$status" "$seconds" "$kb"
}
for build in "${builds[@]}"; do
  z=$build/zelgrin x=$build/zelgrin-export
  echo "== $build"
  measure "bzip2 10 GiB of zeros, pn" "$z" -f -o "$data/g" --file:pn "$data/zeros10g.bz2"
  measure "gzip 1 GiB of zeros, pn" "$z" -f -o "$data/g" --file:pn "$data/zeros1g.gzip"
  measure "zstd 1 GiB of zeros, vn" "$z" -f -o "$data/g" --file:vn "$data/zeros1g.zstd"
  measure "plain 1 GiB of zeros, pn" "$z" -f -o "$data/g" --file:pn "$data/zeros1g"
  measure "24 MB path line, pn" "$z" -f -o "$data/g" --file:pn "$data/longline"
  measure "--enhance bzip2 10 GiB of zeros" "$z" -f -o "$data/g" --enhance "$data/zeros10g.bz2" \
    --file:pn /dev/null
  measure "export bzip2 10 GiB of zeros" "$x" --to json -o "$data/j" "$data/zeros10g.bz2"
  measure "export plain 1 GiB of zeros" "$x" --to json -o "$data/j" "$data/zeros1g"
done
