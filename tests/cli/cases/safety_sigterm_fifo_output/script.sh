# SIGTERM while the graph waits for a reader of the FIFO: the program ends as the signal says
# (status 143) and leaves nothing behind.
mkfifo out.fifo
"$ZELGRIN" -f --file:pne paths.txt -o out.fifo &
pid=$!
sleep 0.3
kill -TERM "$pid"
wait "$pid"
status=$?
LC_ALL=C ls -A | grep -v '^\.std'
exit $status
