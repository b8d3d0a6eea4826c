# A file size limit of 1024 bytes, and the graph takes more (but fits the stream buffer, so the
# failure shows when it is flushed). The limit's signal would end the program; it is ignored
# while writing, so the write fails and the old graph stays.
ulimit -f 1
"$ZELGRIN" -f --file:pne paths.txt -o out.graph
status=$?
# No temporary file is left beside it.
LC_ALL=C ls -A | grep -v '^\.std'
exit $status
