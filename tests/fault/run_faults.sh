#!/usr/bin/env bash
# Runs zelgrin with each fault point in turn and checks that no fault loses or invents data.
#
#   run_faults.sh ZELGRIN FAULT_LIBRARY SANITIZED
#
# Two runs are tried: one writing over the graph it enhances (the only copy of it), one writing
# a new file. A dry run under the fault library counts the calls of each kind; then every write,
# flush, sync, close, rename, open and read fails in turn (errors cycling through ENOSPC, EIO and
# EFBIG), SIGTERM, SIGINT and SIGHUP arrive during writes, and memory runs out from chosen
# allocations on. After each run:
#   - status 0: the output is the graph a run without faults writes, nothing on standard error;
#   - a failure: the status and message the failure calls for, the old file byte for byte (or
#     no file when there was none);
#   - a signal: the signal's own status and the old file;
#   - always: no temporary file, no other new file.
# Last, out of memory for real: a build that outgrows `ulimit -v`.
set -u
bin=$1
fault_lib=$2
sanitized=${3:-0}

if [ "$sanitized" = 1 ]; then
  echo "skipped: the sanitizer runtime must be the first preloaded library, so the fault"
  echo "library cannot be preloaded into this build; the plain build runs these checks"
  exit 77
fi

# A memory file system where there is one: two hundred runs, each syncing its output to disk,
# would otherwise spend their time waiting for the disk.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
runs=0

fail() {
  echo "FAIL [$label]: $*"
  sed 's/^/    stderr: /' "$run_dir/.stderr" | head -5
  failures=$((failures + 1))
}

# The inputs: a path list, a dump and the graph they are added to.
seed=$work/seed
mkdir -p "$seed"
printf '1 2\n3 4\n5 6\n2 4 6\n' >"$seed/paths.txt"
cat >"$seed/dump.txt" <<'EOF'
   Network          Next Hop            Metric LocPrf Weight Path
*> 10.0.0.0/8       192.0.2.1                              0 2 1 i
*> 20.0.0.0/16      192.0.2.1                              0 4 3 i
EOF
(cd "$seed" && "$bin" -f --file:pne paths.txt -o out.graph) || { echo "cannot make the seed graph"; exit 1; }
cp "$seed/out.graph" "$seed/old.graph"

# Scenario: name, output file, arguments. The old content of the output is old.graph or none.
scenarios=(replace new)
replace_out=out.graph
replace_args=(-f --enhance out.graph --file:pnedc paths.txt --file:bi dump.txt --comment c -o out.graph)
new_out=new.graph
new_args=(--file:pnec paths.txt --file:bi dump.txt -o new.graph)

shopt -s dotglob nullglob

# The names in a folder but the run's own .stdout and .stderr, space-ended, into `names`
# (without a subshell: the checks run hundreds of times).
listing() {
  names=""
  local path
  for path in "$1"/*; do
    case ${path##*/} in .stdout | .stderr) ;; *) names+="${path##*/} " ;; esac
  done
}

# Runs the scenario with ZELGRIN_FAULT=$1 in the run folder, first put back as the seed is (the
# checks after each run have seen to it that nothing else changed); sets status.
run() {
  [ -e "$run_dir/$new_out" ] && rm -f "$run_dir/$new_out"
  [ -e "$seed/$out" ] && cp "$seed/$out" "$run_dir/$out"
  # The subshell reports a death by signal on its own standard error, not in the log.
  (cd "$run_dir" && ZELGRIN_FAULT=$1 LD_PRELOAD=$fault_lib "$bin" "${args[@]}" \
    >.stdout 2>.stderr </dev/null; echo $? >"$work/status") 2>/dev/null
  read -r status <"$work/status"
  runs=$((runs + 1))
}

error_text() {
  case $1 in
    ENOSPC) echo "No space left on device" ;;
    EIO) echo "Input/output error" ;;
    EFBIG) echo "File too large" ;;
    EACCES) echo "Permission denied" ;;
  esac
}

# Checks what every run must hold; `kind` tells which failures are allowed.
check() {
  local what=$1
  listing "$run_dir"
  local expected_names=$seed_listing
  [ "$status" = 0 ] && expected_names=$done_listing
  if [ "$names" != "$expected_names" ]; then
    fail "files left: $names(expected $expected_names)"
    # Put the folder back as the seed is, for the next run.
    rm -rf "$run_dir"
    cp -R "$seed" "$run_dir"
  fi
  if [ "$status" = 0 ]; then
    cmp -s "$run_dir/$out" "$expected_graph" || fail "status 0 but the output is not the new graph"
    [ -s "$run_dir/.stderr" ] && fail "status 0 with a message"
    return
  fi
  if [ -e "$seed/$out" ]; then
    cmp -s "$run_dir/$out" "$seed/$out" || fail "status $status and the old output changed"
  else
    [ -e "$run_dir/$out" ] && fail "status $status and a new output exists"
  fi
  case $what in
    SIG*)
      local expected_status
      expected_status=$((128 + $(kill -l "${what#SIG}")))
      [ "$status" = "$expected_status" ] || fail "status $status, expected $expected_status"
      return ;;
  esac
  local first="" second=""
  { read -r first; read -r second; } <"$run_dir/.stderr"
  [ "$first" = "zelgrin 1.0" ] || fail "first line of the message: $first"
  case "$status:$second" in
    "3:Error while writing graph to file \`$out':" | \
    "2:Unable to open file \`$out' for writing" | \
    "2:Error: Unable to read input file "* | \
    "2:Error: Unable to open input file "* | \
    "3:Error while opening source graph \`out.graph'" | \
    "3:File \`out.graph' does not appear to be a valid graph file:" | \
    "2:Error: Out of memory") ;;
    *) fail "status $status with the message: $second" ;;
  esac
}

for scenario in "${scenarios[@]}"; do
  eval "out=\$${scenario}_out"
  eval "args=(\"\${${scenario}_args[@]}\")"
  [ "$scenario" = new ] && rm -f "$seed/out.graph"
  [ "$scenario" = replace ] && cp "$seed/old.graph" "$seed/out.graph"
  listing "$seed"
  seed_listing=$names
  touch "$seed/$out"
  listing "$seed"
  done_listing=$names
  [ "$scenario" = new ] && rm -f "$seed/$out"
  [ "$scenario" = replace ] && cp "$seed/old.graph" "$seed/out.graph"

  # A run without faults gives the expected graph and the number of calls of each kind.
  label="$scenario dry run"
  run_dir=$work/run
  rm -rf "$run_dir"
  cp -R "$seed" "$run_dir"
  (cd "$run_dir" && ZELGRIN_FAULT_COUNTS=$work/counts LD_PRELOAD=$fault_lib "$bin" "${args[@]}" \
    >.stdout 2>.stderr </dev/null) || { fail "status $? without faults"; continue; }
  expected_graph=$work/expected.graph
  cp "$run_dir/$out" "$expected_graph"
  declare -A count=()
  while read -r kind n; do count[$kind]=$n; done <"$work/counts"
  if [ "${count[write]}" -lt 3 ] || [ "${count[read]}" -lt 2 ] || [ "${count[rename]}" -lt 1 ]; then
    fail "the fault library sees too few calls: $(tr '\n' ' ' <"$work/counts")"
    continue
  fi

  errors=(ENOSPC EIO EFBIG)
  for kind in write flush fsync close rename open read; do
    for ((n = 1; n <= count[$kind]; n++)); do
      what=${errors[$((n % 3))]}
      label="$scenario $kind:$n:$what"
      run "$kind:$n:$what"
      check "$what"
      # Every counted write and rename is the output's: each must fail the run.
      if [ "$kind" = write ] || [ "$kind" = rename ]; then
        [ "$status" = 3 ] || fail "status $status, expected 3"
      fi
      if [ "$kind" = rename ] || { [ "$kind" = flush ] && [ "$status" = 3 ]; }; then
        grep -qF "($(error_text "$what")))" "$run_dir/.stderr" ||
          grep -qF "($(error_text "$what"))" "$run_dir/.stderr" || fail "no system text in the reason"
      fi
    done
  done

  # A temporary file that cannot be created for lack of permission is no reason to fail: the
  # file is then written in place.
  label="$scenario open:*:EACCES"
  for ((n = 1; n <= count[open]; n++)); do
    run "open:$n:EACCES"
    check EACCES
  done

  for ((n = 1; n <= count[write]; n++)); do
    label="$scenario write:$n:SIGTERM"
    run "write:$n:SIGTERM"
    check SIGTERM
  done
  for signal in SIGINT SIGHUP; do
    label="$scenario write:1:$signal"
    run "write:1:$signal"
    check "$signal"
  done

  # Memory runs out from a chosen allocation on: about twenty points spread over the run.
  step=$(( (count[malloc] + 19) / 20 ))
  for ((n = count[malloc]; n >= 1; n -= step)); do
    label="$scenario malloc:$n+"
    run "malloc:$n+:ENOMEM"
    check ENOMEM
  done
done

# Out of memory for real: a path list of many distinct edges under a small address space.
label="ulimit -v"
run_dir=$work/oom
mkdir -p "$run_dir"
echo "old graph" >"$run_dir/out.graph"
awk 'BEGIN { for (a = 1; a <= 3000; a++) for (b = a + 1; b <= a + 200; b++) print a, b }' \
  >"$run_dir/paths.txt"
(cd "$run_dir" && ulimit -v 30000 && "$bin" -f --file:pne paths.txt -o out.graph \
  >.stdout 2>.stderr </dev/null; echo $? >"$work/status") 2>/dev/null
read -r status <"$work/status"
runs=$((runs + 1))
if [ "$status" != 2 ] || ! grep -qx "Error: Out of memory" "$run_dir/.stderr"; then
  fail "status $status, expected 2 and Error: Out of memory"
fi
[ "$(cat "$run_dir/out.graph")" = "old graph" ] || fail "the old output changed"
listing "$run_dir"
[ "$names" = "out.graph paths.txt " ] || fail "files left: $names"

echo "$runs runs, $failures failures"
[ "$failures" = 0 ]
