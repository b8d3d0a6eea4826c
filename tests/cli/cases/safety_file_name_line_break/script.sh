# Input file names are written one per line into the graph file.
(exec -a zelgrin "$ZELGRIN" -f --file:pne paths.txt --file:pn $'paths.txt\nx' -o out.graph)
