# As with the default action of the file size signal, but started with the signal ignored.
trap '' XFSZ
ulimit -f 1
"$ZELGRIN" -f --file:pne paths.txt -o out.graph
status=$?
# No temporary file is left beside it.
LC_ALL=C ls -A | grep -v '^\.std'
exit $status
