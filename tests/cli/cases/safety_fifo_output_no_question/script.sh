# An existing FIFO is no file to ask about: the graph goes to its reader. Opening it to see
# whether it exists would wait for a writer for ever.
mkfifo out.fifo
timeout 10 cat out.fifo >got.graph &
timeout 10 "$ZELGRIN" --file:pne paths.txt -o out.fifo
status=$?
wait
cat got.graph
exit $status
