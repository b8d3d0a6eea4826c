# Threads the system refuses (a cap on a user's processes) leave their work to the threads the
# run has: -j 4 gives the graph of -j 1 and ends well. The inputs take every threaded path: a
# path list and a table large enough to be read in parts and merged in ranges, and compressed
# dumps read ahead beside several path lists. The kernel caps only unprivileged users, so as
# root the capped runs are made as a user that runs nothing else (65533); as anyone else they
# run uncapped. The leak check of AddressSanitizer needs a thread of its own at the end, which
# the cap refuses, so capped runs go without it.
awk 'BEGIN { for (i = 0; i < 1400000; i++)
               printf "%d %d %d %d %d %d\n", i % 7 + 1, 100 + i % 53, 1000 + i % 997,
                      5000 + i % 4999, 10000 + i % 9973, 20000 + i % 19997 }' >paths.txt
{
  echo "rtr1>show ip bgp"
  echo "BGP table version is 63333176, local router ID is 10.0.0.1"
  echo "Status codes: s suppressed, d damped, h history, * valid, > best, i - internal,"
  echo "              r RIB-failure, S Stale"
  echo "Origin codes: i - IGP, e - EGP, ? - incomplete"
  echo
  echo "   Network          Next Hop            Metric LocPrf Weight Path"
  awk 'BEGIN { for (i = 0; i < 470000; i++)
                 printf "*> %-17s%-19s%7s%14s %d %d %d i\n",
                        sprintf("%d.%d.%d.0/24", 1 + int(i / 65536), int(i / 256) % 256, i % 256),
                        "10.0.0.1", 0, 0, i % 7 + 1, 100 + i % 53, 1000 + i % 997 }'
} >table.txt
head -n 20000 table.txt >small.txt
small=()
for k in 1 2 3 4; do
  head -n $((k * 5000)) paths.txt >"p$k.txt"
  gzip -c small.txt >"d$k.txt.gz"
  small+=(--file:pne "p$k.txt" --file:bi "d$k.txt.gz")
done
# shellcheck disable=SC2034  # read through the name `given' below
large=(--file:pne paths.txt --file:bi table.txt)

cp "$ZELGRIN" ./zelgrin && chmod 755 ./zelgrin && chmod 777 . || exit 1
capped() {
  local cap=$1
  shift
  if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    (ulimit -u "$cap" && ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" \
      setpriv --reuid=65533 --regid=65533 --clear-groups ./zelgrin "$@")
  else
    ./zelgrin "$@"
  fi
}
# The large inputs ask for one thread beside the main one at a time, which a cap of 1 refuses;
# the small ones for several, of which a cap of 2 grants one.
for inputs in large small; do
  declare -n given=$inputs
  caps=(1 2)
  [ "$inputs" = large ] && caps=(1)
  ./zelgrin -j 1 -f -o one.graph "${given[@]}" >/dev/null || exit 1
  for cap in "${caps[@]}"; do
    capped "$cap" -j 4 -f -o capped.graph "${given[@]}" >/dev/null
    echo "$inputs, cap $cap: status $?"
    cmp -s one.graph capped.graph && echo "same graph"
    rm -f capped.graph
  done
done
