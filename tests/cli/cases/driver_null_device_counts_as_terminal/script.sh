# The null device is a character device: the banner goes there, so the question on standard
# error comes without it.
"$ZELGRIN" --file:pne paths.txt -o out.graph >/dev/null
