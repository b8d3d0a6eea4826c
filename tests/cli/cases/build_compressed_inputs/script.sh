# The gzip, bzip2, xz and zstd variants of a path list and of a router table dump build the
# graph of the plain files byte for byte. Each pair is read under the same names (p and d), as
# the graph file records the names of its sources.
for variant in plain gz bz2 xz zst; do
  suffix=.$variant
  [ "$variant" = plain ] && suffix=
  cp "paths$suffix" p && cp "dump$suffix" d || exit 1
  "$ZELGRIN" -f -o "$variant.graph" --file:pnec p --file:bi d || exit 1
  cmp -s plain.graph "$variant.graph" || echo "the $variant variant built another graph"
done
