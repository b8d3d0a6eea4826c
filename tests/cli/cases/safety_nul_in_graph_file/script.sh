# The node "701<NUL>8" read as 701, and AS 7018 lost its edges.
printf 'VGR\n1\ns\n\n2\n1\n1239\n701\0008\n1239 7018 0 0 0 0 0 0\n' >g.graph
"$ZELGRIN" --enhance g.graph --comment x -o out.graph
