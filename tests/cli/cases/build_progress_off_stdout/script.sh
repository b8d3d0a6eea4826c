# The graph goes to the terminal itself: no announcements, no bars, no saving line.
script -qec "\"$ZELGRIN\" --file:pn a" /dev/null </dev/null
