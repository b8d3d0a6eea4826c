#!/usr/bin/env bash
# Time and peak memory of zelgrin (and, when given, a second build to compare) on hostile MRT
# inputs: damaged records (records per second), one RIB record of 65,535 bad peer indexes, one
# prefix repeated (gzip), a RIB whose addresses do not ascend, and a pipe read in both passes.
# Usage: bench/mrt_hostile_bench.sh [zelgrin] [other zelgrin] [shuffled prefixes, 20 peers each]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bins=("${1:-$here/../build/zelgrin}")
[ -n "${2:-}" ] && bins+=("$2")
prefixes=${3:-2500000}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
gen=$here/../tests/resource/make_mrt.py
python3 "$gen" damaged 1000000 "$data/damaged.mrt"
python3 - "$data/badpeers.mrt" <<'PY'
import struct, sys
rec = lambda st, body: struct.pack(">IHHI", 0, 13, st, len(body)) + body
entries = struct.pack(">HIH", 5, 0, 0) * 65535
with open(sys.argv[1], "wb") as out:
    out.write(rec(1, struct.pack(">IHH", 0, 0, 0)))
    out.write(rec(2, struct.pack(">IBBH", 0, 8, 10, 65535) + entries))
PY
python3 "$gen" rib one-prefix 200000 "$data/one.mrt" && gzip -1 "$data/one.mrt"
python3 "$here/generate_rib.py" "$data/shuffled.mrt" --prefixes "$prefixes" --peers 20 --order shuffled
measure() {  # label, then the command: prints seconds and peak memory
  local label=$1; shift
  /usr/bin/time -f "%e %M" -o "$data/t" "$@" >/dev/null 2>&1 || true
  read -r seconds kb <"$data/t"
  printf '%-44s %8s s %9s KB\n' "$label" "$seconds" "$kb"
}
for bin in "${bins[@]}"; do
  echo "== $bin"
  measure "1 M damaged records, mne (1 reading)" timeout 600 "$bin" -f -o "$data/g" --file:mne "$data/damaged.mrt"
  measure "65,535 bad peer indexes, mnei" timeout 600 "$bin" -f -o "$data/g" --file:mnei "$data/badpeers.mrt"
  measure "4 M entries of one prefix (gzip), mnei" timeout 600 "$bin" -f -o "$data/g" --as32 --file:mnei "$data/one.mrt.gz"
  measure "$((prefixes * 20)) shuffled entries, mnei" timeout 3600 "$bin" -f -o "$data/g" --as32 --file:mnei "$data/shuffled.mrt"
  measure "the same through a pipe" timeout 3600 bash -c "cat '$data/shuffled.mrt' | '$bin' -f -o '$data/g' --as32 --file:mnei -"
done
