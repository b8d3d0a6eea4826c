# The link stays a link; the file it points to gets the graph, and its folder no temporary file.
ln -s graphs/real.graph latest.graph
"$ZELGRIN" -f --file:pne paths.txt -o latest.graph || exit
readlink latest.graph
LC_ALL=C ls -A graphs
