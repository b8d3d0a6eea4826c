# A path list is no graph file at all; a damaged graph file is quoted with its control bytes
# escaped, so that it cannot drive the terminal.
"$ZELGRIN" paths.txt; echo "status $?"
"$ZELGRIN" --to json bad.graph; echo "status $?"
