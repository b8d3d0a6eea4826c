# The demo's run over the example inputs, each compressed with another codec (and the graph to
# enhance too), builds the demo graph byte for byte. Inputs keep their names, as the graph file
# records them.
cp "$ZELGRIN_EXAMPLES"/*.txt . || exit 1
demo() {
  "$ZELGRIN" -f -o "$1" --comment "zelgrin example graph" --file:pnedc paths.txt \
    --file:vd relationships.txt --file:Bi 7018 dump-a.txt --file:bi dump-b.txt || exit 1
}
demo plain.graph
gzip -c paths.txt > p && mv p paths.txt
bzip2 -c relationships.txt > r && mv r relationships.txt
xz -c dump-a.txt > a && mv a dump-a.txt
zstd -q -c dump-b.txt > b && mv b dump-b.txt
demo packed.graph
cmp -s plain.graph packed.graph || echo "the compressed examples built another graph"
gzip -c plain.graph > plain.graph.gz
"$ZELGRIN" -f -o enhanced.graph --enhance plain.graph.gz --comment "zelgrin example graph" || exit 1
cmp -s plain.graph enhanced.graph || echo "the compressed graph read back as another graph"
