#!/usr/bin/env bash
# Resource tests of the MRT reading: generated hostile inputs under a memory cap (ulimit -v) and a
# time bound that only unbounded memory or a quadratic blowup exceeds, checking status, messages
# and the graph. The sanitized build runs without the cap (its shadow memory needs terabytes of
# address space).
# Usage: mrt_resources.sh ZELGRIN SANITIZED CASE
#        (CASE: damaged one-prefix unsorted pipes many-unsorted)
set -u
bin=$1
sanitized=$2
case=$3
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir tmp
export TMPDIR=$scratch/tmp
cap_kb=180000
# The bound of one run: minutes beyond any linear reading. The sanitized build runs several
# times slower, and takes five times as long.
bound=60
if [ "$sanitized" = 1 ]; then bound=300; fi
fail() { echo "FAIL: $*"; exit 1; }
make() { python3 "$here/make_mrt.py" "$@" || fail "cannot generate $*"; }
# Runs zelgrin capped; its status in $status, its standard error in err.
run() {
  (if [ "$sanitized" != 1 ]; then ulimit -v $cap_kb; fi; exec timeout "$bound" "$bin" "$@") 2>err
  status=$?
}
# The graph without its source names (the lines up to the comment), for comparison.
body() { tail -n +$(($(sed -n 2p "$1") + 3)) "$1"; }

case $case in
  damaged)  # one million damaged records: linear time, constant memory
    make damaged 1000000 d.mrt
    run -f -o d.g --stats --file:mnei d.mrt
    [ $status = 0 ] || fail "status $status: $(cat err)"
    [ "$(grep -c '1000000 skipped: 1000000 damaged record' err)" = 2 ] || fail "$(cat err)"
    ;;
  one-prefix)  # four million entries of one prefix, compressed to about 1 MB
    make rib one-prefix 200000 o.mrt && gzip -1 o.mrt
    run -f -o o.g --stats --file:mnei o.mrt.gz
    [ $status = 0 ] || fail "status $status: $(cat err)"
    grep -q '(IP covering): 4000000 MRT entries read, 4000000 used' err || fail "$(cat err)"
    ;;
  unsorted)  # four million entries whose addresses do not ascend: the graph of the sorted file
    make rib shuffled 200000 s.mrt
    make rib ascending 200000 a.mrt
    run -f -o s.g --file:mnei s.mrt
    [ $status = 0 ] || fail "status $status: $(cat err)"
    run -f -o a.g --file:mnei a.mrt
    [ $status = 0 ] || fail "status $status: $(cat err)"
    cmp -s <(body s.g) <(body a.g) || fail "the shuffled file gives another graph"
    ;;
  pipes)  # a file read in both passes through stdin, a FIFO and /dev/fd: the regular file's graph
    make rib shuffled 5000 r.mrt
    run -f -o r.g --file:mnei r.mrt
    [ $status = 0 ] || fail "status $status: $(cat err)"
    run -f -o stdin.g --stats --file:mnei - <r.mrt
    grep -q "^\`-' was copied to a temporary file to be read twice$" err || fail "$(cat err)"
    mkfifo fifo
    cat r.mrt >fifo &
    run -f -o fifo.g --file:mnei fifo
    wait
    run -f -o fd.g --file:mne r.mrt --file:mi <(cat r.mrt)
    run -f -o fd2.g --file:mne r.mrt --file:mi r.mrt
    for g in stdin fifo; do
      cmp -s <(body r.g) <(body $g.g) || fail "$g gives another graph"
    done
    cmp -s <(body fd.g) <(body fd2.g) || fail "/dev/fd gives another graph"
    [ -z "$(ls tmp)" ] || fail "temporary files left: $(ls tmp)"
    ;;
  many-unsorted)  # 70 RIBs whose addresses do not ascend, 7 M entries
    make rib shuffled 5000 s.mrt && gzip -1 s.mrt
    make rib ascending 5000 a.mrt && gzip -1 a.mrt
    for k in $(seq 70); do
      { ln s.mrt.gz "s$k.mrt.gz" && ln a.mrt.gz "a$k.mrt.gz"; } || fail "cannot link the copies"
      echo "mnei s$k.mrt.gz" >>shuffled.txt
      echo "mnei a$k.mrt.gz" >>ascending.txt
    done
    # Their sorts share the memory of one, spilling the rest to temporary files.
    run -j 1 -f -o s.g --files-from shuffled.txt
    [ $status = 0 ] || fail "status $status: $(cat err)"
    run -j 1 -f -o a.g --files-from ascending.txt
    [ $status = 0 ] || fail "status $status: $(cat err)"
    cmp -s <(body s.g) <(body a.g) || fail "the shuffled files give another graph"
    # Read ahead, with more spilled dumps than a soft limit of 64 descriptors holds: raised.
    if [ "$(ulimit -Hn)" = unlimited ] || [ "$(ulimit -Hn)" -ge 400 ]; then
      (ulimit -Sn 64 && exec timeout $((2 * bound)) "$bin" -j 2 -f -o s2.g \
        --files-from shuffled.txt) 2>err
      status=$?
      [ $status = 0 ] || fail "read ahead: status $status: $(cat err)"
      cmp -s <(body s.g) <(body s2.g) || fail "read ahead gives another graph"
    fi
    [ -z "$(ls tmp)" ] || fail "temporary files left: $(ls tmp)"
    ;;
  *) fail "unknown case $case" ;;
esac
echo "ok: $case"
