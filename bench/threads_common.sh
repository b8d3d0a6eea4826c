# Shared by the -j benchmarks: prints the table's header, and one row for one run of zelgrin.
# Source it, then: threads_header; threads_row BIN WORK J RUN ARGS... (WORK/g1 holds -j 1's graph).

threads_header() {
  printf '%-6s %-4s %8s %8s %8s %9s %s\n' threads run wall user sys peak_MB graph
}

# Runs BIN -j J on ARGS, writing WORK/gJ, and prints wall, CPU, peak memory and whether the graph
# is the bytes of -j 1's.
threads_row() {
  local bin=$1 work=$2 j=$3 r=$4
  shift 4
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
    "$bin" -j "$j" -f -o "$work/g$j" "$@" >"$work/out" 2>&1
  local wall user sys peak same=same
  read -r wall user sys peak <"$work/time"
  cmp -s "$work/g1" "$work/g$j" || same=DIFFERENT
  printf '%-6s %-4s %8s %8s %8s %9.1f %s\n' "$j" "$r" "$wall" "$user" "$sys" \
    "$(echo "$peak / 1024" | bc -l)" "$same"
}
