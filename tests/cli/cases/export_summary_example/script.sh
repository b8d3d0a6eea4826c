# The summary of the example graph, built as examples/demo.sh builds it.
here=$PWD
cd "$ZELGRIN_EXAMPLES" && "$ZELGRIN_BUILDER" -f -o "$here/demo.graph" \
  --comment "zelgrin example graph" \
  --file:pnedc paths.txt --file:vd relationships.txt \
  --file:Bi 7018 dump-a.txt --file:bi dump-b.txt >/dev/null && cd "$here" &&
  "$ZELGRIN" demo.graph
