# An IPv6 run adds and enhances IPv6 graph files, and writes IPv6 graph files: the units add up
# as addresses do, and a path list (which has no family) extends an IPv6 graph.
run() { (exec -a zelgrin "$ZELGRIN" "$@"); echo "status $?"; }
run --ipv6 -f -o sum.graph --comment day --sum a.graph b.graph
run --ipv6 -f -o enhanced.graph --enhance sum.graph --file:pne paths.txt
run --ipv6 -f -o overflow.graph --sum b.graph b.graph
# An output named without -o that is an IPv6 graph file may be replaced.
cp a.graph bare.graph
run --ipv6 -f --file:pne paths.txt bare.graph
