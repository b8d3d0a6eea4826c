# A full disk, for a named output and for standard output: status 3 with the system's reason.
"$ZELGRIN" --to json -o /dev/full g.graph; echo "status $?"
"$ZELGRIN" g.graph >/dev/full; echo "status $?"
