# A pseudo-terminal on standard output: banner and headings come bold.
script -qec "\"$ZELGRIN\" --help" /dev/null </dev/null | sed -n '1,2p;5p'
