# A pseudo-terminal on standard output and a named output file: bold banner, one announcement,
# name line and bar per file of the first pass, one step for all dumps, then the saving line.
script -qec "\"$ZELGRIN\" --file:pe b --file:pn a --file:bi d -f -o out.graph" /dev/null </dev/null
