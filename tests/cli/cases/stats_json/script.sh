# --stats=json: one object on the last line of standard error. A path list with an AS set, a
# private segment (used), a blank line, a 32-bit AS number and a confederation set; relationships
# of which one names an edge of the graph (applied) and one does not; a name with a quote, a
# backslash, a control byte and a byte that is not UTF-8, which come out escaped.
name=$(printf 'p"a\\t\001h\377.txt')
printf '1 2 3\n1 {4,5}\n(6 7) 1\n\n1 70000\n[8 9] 1\n' > "$name"
printf '2 1 1\n8 9 0\n' > rel.txt
"$ZELGRIN" --stats=json --file:pne "$name" --file:vd rel.txt -o out.graph 2>&1 | tail -n 1
