# /dev/full is a character device, so the banner went to standard output.
"$ZELGRIN" --enhance g.graph --comment x >/dev/full
