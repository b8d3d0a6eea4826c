# The graph fits the stream buffer: the full disk shows only when it is flushed.
"$ZELGRIN" -f --enhance g.graph --comment x -o /dev/full
