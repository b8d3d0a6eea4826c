# Source-file counts: 65536 names are read back, 65537 are refused.
names() { echo VGR; echo "$1"; i=0; while [ $i -lt "$1" ]; do echo "f$i"; i=$((i+1)); done; printf '\n0\n0\n'; }
names 65536 >ok.graph
"$ZELGRIN" --enhance ok.graph --comment "" -o out.graph || exit 1
cmp ok.graph out.graph || exit 1
names 65537 >bad.graph
"$ZELGRIN" --enhance bad.graph --comment "" -o bad-out.graph
