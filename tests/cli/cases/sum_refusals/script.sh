# What --sum refuses, and what it says when graphs disagree on an orientation.
run() { (exec -a zelgrin "$ZELGRIN" "$@"); echo "status $?"; }
run --sum
run --sum other.graph --file:pne paths.txt
run --sum other.graph --enhance other.graph
run -f -o out.graph --sum other.graph diff.graph
run -f -o out.graph --sum full.graph other.graph
run -f -o out.graph --sum missing.graph
run -f -o out.graph --sum paths.txt
run -f -o out.graph --comment sum --stats --sum other.graph other.graph -
