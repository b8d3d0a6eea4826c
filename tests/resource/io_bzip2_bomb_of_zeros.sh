# 10 GiB of zeros in 7.8 KB of bzip2 (ten streams of 1 GiB each, which decode as one text): one
# line without end, refused at 16 MiB by every reader, in bounded memory and at once.
source "$(dirname "$0")/io_resource_lib.sh"
for _ in 1 2 3 4 5 6 7 8 9 10; do cat "$DATA/zeros_1GiB.bz2"; done >bomb.bz2
long='(line at byte 0 of the decompressed data is longer than 16 MiB)'
capped 2 "Error: Unable to read input file \`bomb.bz2'
$long" "$ZELGRIN" -f -o out.graph --file:pne bomb.bz2
capped 2 "Error: Unable to read input file \`bomb.bz2'
$long" "$ZELGRIN" -f -o out.graph --file:vn bomb.bz2
capped 3 "File \`bomb.bz2' does not appear to be a valid graph file:
${long:1:-1}" "$ZELGRIN" -f -o out.graph --enhance bomb.bz2 --file:pn /dev/null
capped 3 "File \`bomb.bz2' does not appear to be a valid graph file:
${long:1:-1}" "$ZELGRIN_EXPORT" --to json -o out.json bomb.bz2
[ -e out.graph ] || [ -e out.json ] && { echo "FAILED: an output was written"; failures=1; }
finish
