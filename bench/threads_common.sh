# shellcheck shell=bash
# Shared by the -j benchmarks: prints the table's header, one row for one run of zelgrin, and a
# summary of the rows. Source it, then: threads_header; threads_row BIN WORK J RUN ARGS... (WORK/g1
# holds -j 1's graph); threads_summary WORK.

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
  echo "$j $wall" >>"$work/walls"
}

# Notes the wall time of a run of something else under LABEL, for the summary.
threads_note() {
  echo "$2 $3" >>"$1/walls"
}

# The median and the least wall time of each -j (and of each label noted), and -j 1's over each
# other's, and each other's over the limit's when there is one. On a shared machine a run may be
# slowed by others but never sped up: the least times say what the program can do, the medians
# what a user may meet.
threads_summary() {
  awk '
    { wall[$1] = wall[$1] " " $2; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
    function stats(label,   parts, count, i, j, t) {
      count = split(wall[label], parts, " ")
      for (i = 1; i <= count; i++)
        for (j = i + 1; j <= count; j++)
          if (parts[j] + 0 < parts[i] + 0) { t = parts[i]; parts[i] = parts[j]; parts[j] = t }
      least[label] = parts[1]
      median[label] = count % 2 ? parts[(count + 1) / 2] : (parts[count / 2] + parts[count / 2 + 1]) / 2
    }
    END {
      for (i = 1; i <= n; i++) stats(order[i])
      printf "%-6s %8s %8s\n", "", "median", "least"
      for (i = 1; i <= n; i++) printf "%-6s %8.2f %8.2f\n", order[i], median[order[i]], least[order[i]]
      for (i = 1; i <= n; i++) {
        label = order[i]
        if (label == "1" || label == "limit") continue
        if ("1" in seen)
          printf "-j 1 / -j %s: %.2fx (medians), %.2fx (least)\n", label,
            median["1"] / median[label], least["1"] / least[label]
        if ("limit" in seen)
          printf "-j %s / limit: %.2fx (medians), %.2fx (least)\n", label,
            median[label] / median["limit"], least[label] / least["limit"]
      }
    }' "$1/walls"
}
