# What an IPv6 run refuses: inputs that can only hold IPv4 routes or addresses.
run() { (exec -a zelgrin "$ZELGRIN" "$@"); echo "status $?"; }
run --ipv6 --file:pne paths.txt --file:bi dump.txt
run --ipv6 --file:pne paths.txt --file:Bi 7018 dump.txt
run --ipv6 --file:pne paths.txt --file:si sat.txt
run --ipv6 --exact-covering --ip-range 10.0.0.0/8 --file:pne paths.txt
