#!/usr/bin/env bash
# Runs one command-line case and compares what the program did with what the case expects.
#
# A case is a folder:
#   program     the program under test, when not zelgrin (zelgrin-export); CMake reads it
#   args        the arguments, one per line (an empty line is an empty argument)
#   script.sh   instead of args: a bash script run in the scratch folder with $ZELGRIN set to
#               the program under test, for cases that need a terminal, a pipe or a special
#               file ($ZELGRIN_BUILDER is zelgrin and $ZELGRIN_EXAMPLES the examples folder)
#   input/      files copied into the scratch folder before the run (the program runs there)
#   stdin       standard input (otherwise the null device)
#   status      expected exit status (otherwise 0)
#   stdout      expected standard output (otherwise empty)
#   stderr      expected standard error (otherwise empty)
#   expected/   files that must exist in the scratch folder afterwards, byte for byte
#   absent      names of files that must not exist afterwards, one per line
# The program is run under its bare name ("zelgrin"), so messages that quote argv[0] do not
# depend on the path.
set -u
bin=$1
case_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

[ -d "$case_dir/input" ] && cp -R "$case_dir/input/." "$scratch/"
stdin_file=/dev/null
[ -f "$case_dir/stdin" ] && stdin_file="$case_dir/stdin"

cd "$scratch" || exit 2
if [ -f "$case_dir/script.sh" ]; then
  ZELGRIN=$bin bash "$case_dir/script.sh" <"$stdin_file" >"$scratch/.stdout" 2>"$scratch/.stderr"
  status=$?
else
  args=()
  if [ -f "$case_dir/args" ]; then
    while IFS= read -r line || [ -n "$line" ]; do args+=("$line"); done <"$case_dir/args"
  fi
  (exec -a "$(basename "$bin")" "$bin" "${args[@]}") <"$stdin_file" >"$scratch/.stdout" 2>"$scratch/.stderr"
  status=$?
fi

failed=0
expected_status=0
[ -f "$case_dir/status" ] && expected_status=$(tr -d '[:space:]' <"$case_dir/status")
if [ "$status" != "$expected_status" ]; then
  echo "exit status: expected $expected_status, got $status"
  failed=1
fi
for stream in stdout stderr; do
  expected=/dev/null
  [ -f "$case_dir/$stream" ] && expected="$case_dir/$stream"
  if ! cmp -s "$expected" "$scratch/.$stream"; then
    echo "$stream differs (expected, then actual):"
    diff <(cat -A "$expected") <(cat -A "$scratch/.$stream") | head -40
    failed=1
  fi
done
if [ -d "$case_dir/expected" ]; then
  while IFS= read -r -d '' file; do
    rel=${file#"$case_dir/expected/"}
    if [ ! -f "$scratch/$rel" ]; then
      echo "missing output file: $rel"
      failed=1
    elif ! cmp -s "$file" "$scratch/$rel"; then
      echo "output file $rel differs (expected, then actual):"
      diff <(cat -A "$file") <(cat -A "$scratch/$rel") | head -40
      failed=1
    fi
  done < <(find "$case_dir/expected" -type f -print0)
fi
if [ -f "$case_dir/absent" ]; then
  while IFS= read -r name; do
    [ -n "$name" ] && [ -e "$scratch/$name" ] && { echo "file should not exist: $name"; failed=1; }
  done <"$case_dir/absent"
fi
exit $failed
