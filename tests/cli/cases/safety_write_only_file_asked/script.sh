# A file that cannot be read is still a file to ask about before replacing it.
chmod 200 out.graph
"$ZELGRIN" --file:pne paths.txt -o out.graph
status=$?
chmod 644 out.graph
exit $status
