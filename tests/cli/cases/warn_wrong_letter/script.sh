# A file given a letter that does not fit what it holds, AS numbers skipped for want of --as32,
# and a non-empty file that gave nothing each get one warning after the build; the graph and the
# exit status stay what they were. The right letter and --as32 stay silent; an empty file is named.
run() {
  echo "\$ zelgrin $*"
  (exec -a zelgrin "$ZELGRIN" "$@" 2>&1)
  echo "status $?"
}
run --file:pne rib.mrt
run --file:pne route.txt
run --file:pne paths.txt --file:vd rel.txt
run --file:une rel.txt
run --file:pne paths.txt --file:bi layout.txt
run --file:pne wide.txt
run --file:pne junk.txt
run -v --file:pne junk.txt
run --file:pne empty.txt
run --as32 --file:pne wide.txt
run --file:rned rel.txt
run --as32 --file:pne paths.txt --file:ti layout.txt
run --file:mne route.txt
