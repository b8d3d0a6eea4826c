# A graph read with --enhance and written again comes back byte for byte, twice over.
"$ZELGRIN" --enhance g.graph --comment "cmp" -o a.graph || exit 1
"$ZELGRIN" --enhance a.graph --comment "cmp" -o b.graph || exit 1
cmp a.graph g.graph && cmp b.graph g.graph
