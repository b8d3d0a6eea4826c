# Shared by the io resource tests: run a program under the memory cap and the time bound, and
# compare what it did with what was expected. Sourced by each test with the programs as $1, $2.
set -u
ZELGRIN=$1
ZELGRIN_EXPORT=$2
DATA=$(cd "$(dirname "${BASH_SOURCE[0]}")/data" && pwd)
# 512 MiB of address space and 20 s: far more than a bounded reader needs, far less than the
# inputs would take if read whole.
MEMORY_CAP_KB=524288
TIME_BOUND=20
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 2
failures=0

# capped STATUS EXPECTED_STDERR_TAIL COMMAND...: runs COMMAND (standard input from $STDIN, else
# the null device) and checks its exit status and that its standard error ends with the
# expected lines.
capped() {
  local want_status=$1 want_tail=$2
  shift 2
  (
    [ "${ZELGRIN_SANITIZED:-0}" = 1 ] || ulimit -v "$MEMORY_CAP_KB"
    exec timeout "$TIME_BOUND" "$@"
  ) >"$scratch/.stdout" 2>"$scratch/.stderr" <"${STDIN:-/dev/null}"
  local status=$?
  local lines
  lines=$(printf '%s\n' "$want_tail" | wc -l)
  local got_tail
  got_tail=$(tail -n "$lines" "$scratch/.stderr")
  if [ "$status" != "$want_status" ] || [ "$got_tail" != "$want_tail" ]; then
    echo "FAILED: $*"
    echo "  status $status (expected $want_status); standard error ends with:"
    tail -n "$lines" "$scratch/.stderr" | cut -c1-200 | sed 's/^/    /'
    echo "  expected:"
    printf '%s\n' "$want_tail" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

finish() {
  [ "$failures" = 0 ] && echo "all passed"
  [ "$failures" = 0 ]
  exit $?
}
