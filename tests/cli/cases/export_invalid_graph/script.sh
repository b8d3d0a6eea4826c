# The same invalid graph for a single output and for the CSV folder: neither is touched.
"$ZELGRIN" --to graphml -o out.graphml bad.graph; echo "status $?"
"$ZELGRIN" --to csv -o tables bad.graph; echo "status $?"
ls
