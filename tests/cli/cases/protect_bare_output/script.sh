# A bare output name (after the files, without -o) replaces only a graph file or an empty file,
# even with -f; anything else is kept and the run stops before reading. Names in a row after one
# --file: option, and a table given as a dump, get a hint after the syntax error.
run() {
  echo "\$ zelgrin $*"
  (exec -a zelgrin "$ZELGRIN" "$@" 2>&1)
  echo "status $?"
}
printf 'payload\n' > b.gz
run -f --file:pne a b.gz
cmp -s b.gz <(printf 'payload\n') || echo "b.gz was changed"
run -f --file:pne a -o b.gz && head -1 b.gz
: > empty
printf "payload\n" > keep
run --file:pne a keep
run -f --file:pne a empty && head -1 empty
run -f --file:pne a graph && run -f --file:pne a graph && head -1 graph
printf 'payload\n' | gzip > packed
run -f --file:pne a packed
run -f --file:pne a b.gz c
run -f --file:pne a -o out c
run -f --file:pne a out -f c
run --file:bne a
