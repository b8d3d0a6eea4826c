#!/usr/bin/env bash
# -j N writes what -j 1 writes, byte for byte: the graph, standard output and standard error
# (with -v and --stats, and with --stats alone, which lets files of the first pass be read
# several at once), and the exit status, for the examples, a generated workload of dumps (with
# lines that do not parse and a compressed dump), the MRT samples, several path lists and
# relationship files read at once, and inputs cut short or missing whose error must surface at
# the same point; the progress bar too, on a pseudo-terminal.
# Usage: threads_identical.sh ZELGRIN SOURCE_DIR
set -u
zelgrin=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

python3 "$src/bench/generate_inputs.py" gen --paths 2000 --dumps 4 --routes 2000 >/dev/null ||
  exit 2
# Lines no reader takes, among the routes of one dump, so that -v and --stats have work to do.
sed -i -e '40s/ i$/ 12a i/' -e '300s/\/[0-9]*/\/33/' -e '900s/ i$/ 70000 i/' gen/dump1.txt
gzip -k gen/dump2.txt
head -c 20000 gen/dump2.txt.gz >gen/cut.gz
# A path list with lines that do not parse, and one cut short, for the first pass read ahead.
sed -e '10s/$/ x/' -e '500s/ / {1,2} /' -e '1500s/^/70000 /' gen/paths.txt >gen/badpaths.txt
gzip -c gen/paths.txt | head -c 15000 >gen/cutpaths.gz
mrt=$src/tests/parsers/data/mrt
ex=$src/examples

workloads=(
  "--file:pne $ex/paths.txt --file:bi $ex/dump-a.txt --file:Bi 65000 $ex/dump-b.txt"
  "--file:pnec gen/paths.txt --file:bi gen/dump0.txt --file:Bi 7 gen/dump1.txt
   --file:bi gen/dump2.txt.gz --file:bi gen/dump3.txt"
  "--exact-covering --file:pnec gen/paths.txt --file:bi gen/dump0.txt --file:bi gen/dump3.txt"
  "--as32 --file:mneci $mrt/quagga_rib.mrt --file:mneci $mrt/openbgpd_rib_table-v2.mrt
   --file:mneci $mrt/bird-mrtdump_rib.mrt --file:mi $mrt/openbgpd_rib_table.mrt
   --file:mnec $mrt/bird_bgp.mrt"
  "--file:pne gen/paths.txt --file:bi gen/dump0.txt --file:bi gen/cut.gz --file:bi gen/dump3.txt"
  "--file:pnec gen/badpaths.txt --file:Tnec 7 $src/tests/parsers/data/bgp_ios_xe_table.txt
   --file:mnec $mrt/bird_bgp.mrt --file:pne gen/cutpaths.gz"
  "--file:pnec gen/badpaths.txt --file:pnec gen/paths.txt --file:vne $ex/relationships.txt
   --file:pnec $ex/paths.txt --file:vd $ex/relationships.txt --file:pnec gen/badpaths.txt
   --file:pc $ex/paths.txt --file:mnec $mrt/bird_bgp.mrt --file:bi gen/dump0.txt"
  "--file:pnec gen/paths.txt --file:pnec gen/badpaths.txt --file:pne gen/cutpaths.gz
   --file:pne gen/missing.txt --file:pnec gen/paths.txt"
  "--file:pnec gen/paths.txt --file:pne gen/missing.txt --file:pne gen/cutpaths.gz"
)

failed=0
for w in "${!workloads[@]}"; do
  # shellcheck disable=SC2206
  args=(${workloads[$w]})
  for j in 1 2 4; do
    rm -f graph
    "$zelgrin" -j "$j" -v --stats "${args[@]}" -f -o graph >"out$j" 2>"err$j"
    echo $? >"status$j"
    if [ -f graph ]; then mv graph "g$j"; else : >"g$j"; fi
    "$zelgrin" -j "$j" --stats "${args[@]}" -f -o graph >"quiet$j" 2>&1
    echo $? >>"quiet$j"
    if [ -f graph ]; then cat graph >>"quiet$j"; fi
    rm -f graph
    if command -v script >/dev/null; then
      script -qec "\"$zelgrin\" -j $j ${args[*]} -f -o graph" /dev/null </dev/null >"tty$j"
    fi
  done
  for j in 2 4; do
    for f in g out err status quiet tty; do
      [ -f "${f}1" ] || continue
      if ! cmp -s "${f}1" "$f$j"; then
        echo "workload $w: $f of -j $j differs from -j 1"
        diff <(cat -A "${f}1") <(cat -A "$f$j") | head -10
        failed=1
      fi
    done
  done
  [ "$w" = 4 ] && [ "$(cat status1)" != 2 ] && { echo "the cut dump did not fail"; failed=1; }
  [ "$w" = 5 ] && [ "$(cat status1)" != 2 ] && { echo "the cut path list did not fail"; failed=1; }
  [ "$w" = 7 ] && ! grep -q "Unable to read input file .gen/cutpaths.gz" quiet1 &&
    { echo "the cut path list before a missing file did not fail first"; failed=1; }
  [ "$w" = 8 ] && ! grep -q "Unable to open input file .gen/missing.txt" quiet1 &&
    { echo "the missing file before a cut path list did not fail first"; failed=1; }
  rm -f g? out? err? status? quiet? tty? graph
done
exit $failed
