#!/usr/bin/env bash
# Times the IPv6 graph of a synthetic IPv6 RIB against the IPv4 graph of an IPv4 RIB of the same
# entry count (generate_rib.py, same topology and peers), side by side in one run: the whole job
# (--file:mneci, both passes, the covering) and the first pass alone, best of three, with peak
# memory, and prints the IPv6/IPv4 ratios.
# Usage: bench/ipv6_bench.sh [path/to/zelgrin] [prefixes] [peers]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../build/zelgrin}
prefixes=${2:-250000}
peers=${3:-20}
data=$here/data/rib-families-$prefixes-$peers
mkdir -p "$data"
for family in ipv4 ipv6; do
  if [ ! -f "$data/$family.mrt" ]; then
    echo "generating an $family RIB of $prefixes prefixes x $peers peers in $data ..."
    python3 "$here/generate_rib.py" "$data/$family.mrt" --prefixes "$prefixes" --peers "$peers" \
      --family "$family"
  fi
done
# shellcheck source=bench/best_of_three.sh
. "$here/best_of_three.sh"
printf 'RIB: %d prefixes x %d peers = %d entries; IPv4 %s MB, IPv6 %s MB\n' "$prefixes" "$peers" \
  $((prefixes * peers)) "$(du -mL "$data/ipv4.mrt" | cut -f1)" "$(du -mL "$data/ipv6.mrt" | cut -f1)"
printf '%-22s %10s %10s %10s %10s %8s %8s\n' job "IPv4 s" "IPv6 s" "IPv4 MB" "IPv6 MB" "time" "memory"
for letters in mneci mnec; do
  read -r v4 v4_kb < <(best "$bin" --as32 -j 1 -f -o "$data/v4.graph" --file:$letters "$data/ipv4.mrt")
  read -r v6 v6_kb < <(best "$bin" --as32 --ipv6 -j 1 -f -o "$data/v6.graph" --file:$letters "$data/ipv6.mrt")
  printf '%-22s %10s %10s %10d %10d %7.2fx %7.2fx\n' "--file:$letters" "$v4" "$v6" \
    $((v4_kb / 1024)) $((v6_kb / 1024)) "$(echo "$v6 / $v4" | bc -l)" "$(echo "$v6_kb / $v4_kb" | bc -l)"
done
