# Standard input as the only input, on a terminal: the step and the name are announced, but
# there is no size to draw a bar against.
script -qec "\"$ZELGRIN\" --file:pne - -f -o out.graph < paths.in" /dev/null </dev/null
