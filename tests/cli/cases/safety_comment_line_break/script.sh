# A comment of two lines would break the graph file; this one would slip a whole fake graph
# into it for --enhance to read. A carriage return counts as well.
(exec -a zelgrin "$ZELGRIN" -f --file:pne paths.txt --comment $'x\n1\n1\n99\n0' -o out.graph)
echo "status $?"
(exec -a zelgrin "$ZELGRIN" -f --file:pne paths.txt --comment $'x\r' -o out.graph)
echo "status $?"
