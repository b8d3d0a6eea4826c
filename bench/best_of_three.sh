# Shared by the benchmarks that keep the best of three runs of a command. Source it once `data`
# names the folder that holds the timing file.

measure() {  # prints "seconds kilobytes"
  /usr/bin/time -f "%e %M" -o "$data/time.txt" "$@" >/dev/null 2>&1
  cat "$data/time.txt"
}

best() {  # the best of three runs: seconds and the memory of that run
  local result fastest=""
  for _ in 1 2 3; do
    result=$(measure "$@")
    if [ -z "$fastest" ] || [ "$(echo "${result% *} < ${fastest% *}" | bc)" = 1 ]; then fastest=$result; fi
  done
  echo "$fastest"
}
