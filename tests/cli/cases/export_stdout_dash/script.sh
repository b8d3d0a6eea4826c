# "-o -" is standard output, for a single output; the CSV pair still needs a folder.
"$ZELGRIN" --to csv --edges-only -o - g.graph; echo "status $?"
"$ZELGRIN" --to csv -o - g.graph; echo "status $?"
ls
