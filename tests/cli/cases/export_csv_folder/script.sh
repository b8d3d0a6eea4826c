# The two tables go into a new folder; --edges-only replaces an existing file; --around cuts.
"$ZELGRIN" --to csv -o tables g.graph &&
  "$ZELGRIN" --to csv --edges-only -o edges.csv --around 3 --depth 1 g.graph &&
  ls . tables
