# Each run reads the graph files of its own family only: an IPv4 run refuses an IPv6 graph as an
# unknown type and says how it is read, an IPv6 run refuses IPv4 and differential graphs.
run() { (exec -a zelgrin "$ZELGRIN" "$@"); echo "status $?"; }
run -f -o out.graph --sum four.graph six.graph
run -f -o out.graph --enhance six.graph --file:pne paths.txt
run -f -o out.graph --enhance - --comment c
run --ipv6 -f -o out.graph --sum six.graph four.graph
run --ipv6 -f -o out.graph --sum diff.graph
run --ipv6 -f -o out.graph --enhance four.graph --comment c
