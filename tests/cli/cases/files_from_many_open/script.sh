# A merge holds every dump open at once: a list of more dumps than the soft limit on open files
# allows is read all the same, the limit raised toward the hard one, into the graph a roomy
# limit gives.
cp "$ZELGRIN_EXAMPLES"/paths.txt "$ZELGRIN_EXAMPLES"/dump-a.txt . || exit 1
{
  echo "pne paths.txt"
  for _ in $(seq 40); do echo "bi dump-a.txt"; done
} >list.txt
"$ZELGRIN" -f -o roomy.graph --files-from list.txt || exit 1
(ulimit -Sn 32 && "$ZELGRIN" -f -o tight.graph --files-from list.txt)
echo "status $?"
cmp -s roomy.graph tight.graph && echo "same graph"
