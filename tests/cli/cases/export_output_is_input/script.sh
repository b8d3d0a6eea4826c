# An output that is the graph file itself, by its name, a symbolic link, a hard link, standard
# input or one of the CSV pair, is refused before anything is read; the graph stays as it was.
ln -s g.graph link.graph && ln g.graph hard.graph && mkdir tables && ln g.graph tables/edges.csv
"$ZELGRIN" --to json -o g.graph g.graph; echo "status $?"
"$ZELGRIN" --to json -o link.graph g.graph; echo "status $?"
"$ZELGRIN" --to graphml -o g.graph hard.graph; echo "status $?"
"$ZELGRIN" -o g.graph - <g.graph; echo "status $?"
"$ZELGRIN" --to csv -o tables g.graph; echo "status $?"
rm link.graph hard.graph tables/edges.csv
