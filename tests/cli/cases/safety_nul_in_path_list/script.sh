# The NUL byte cut "7018 701<NUL>8 1239" to "7018 701": AS 7018 got an edge to 701 and 1239 was
# silently lost. The line is refused whole, and -v tells why.
printf '7018 701\0008 1239\n701 3356\n' >paths.txt
"$ZELGRIN" -v -f --file:pne paths.txt -o out.graph || exit
cat out.graph
