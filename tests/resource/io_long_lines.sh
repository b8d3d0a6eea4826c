# Lines just within and just beyond the 16 MiB bound: a path of 16 MiB less one byte and its
# line end is read, one byte more is a read error; a graph file whose comment is too long is
# not a graph. Nothing is held beyond the bound.
source "$(dirname "$0")/io_resource_lib.sh"
most=$((16 * 1024 * 1024))
{ printf '1 2\n'; head -c $((most - 2)) /dev/zero | tr '\0' ' '; printf '3\n'; } >fits
{ printf '1 2\n'; head -c $((most - 1)) /dev/zero | tr '\0' ' '; printf '3\n'; } >too_long
capped 0 "" "$ZELGRIN" -f -o fits.graph --file:pne fits
capped 2 "Error: Unable to read input file \`too_long'
(line at byte 4 is longer than 16 MiB)" "$ZELGRIN" -f -o out.graph --file:pne too_long
{ printf 'VGR\n1\nsource\n'; head -c "$most" /dev/zero | tr '\0' c; printf '\n0\n0\n'; } >g
capped 3 "File \`g' does not appear to be a valid graph file:
line at byte 13 is longer than 16 MiB" "$ZELGRIN_EXPORT" g
STDIN=g capped 3 "Input does not appear to be a valid graph:
line at byte 13 is longer than 16 MiB" "$ZELGRIN" -f -o out.graph --enhance - --file:pn fits
finish
