# --files-from gives the graph the same command-line options give, with no limit of 100 inputs;
# an error names the list's line.
z() { (exec -a zelgrin "$ZELGRIN" "$@"); echo "status $?"; }
printf '# inputs\n\npnec paths.txt\n  Bi 7018 dump a.txt\r\n' > list.txt
z -f -o listed.graph --files-from list.txt
z -f -o given.graph --file:pnec paths.txt --file:Bi 7018 'dump a.txt'
cmp listed.graph given.graph && echo same graph
for k in $(seq 150); do echo "pn paths.txt"; done > long.txt
z -f -o long.graph --files-from long.txt --file:pe paths.txt
sed -n 2p long.graph
printf 'pn paths.txt\nBi x dump a.txt\n' > bad.txt
z -f -o bad.graph --files-from bad.txt
printf 'pn\n' > noname.txt
z -f -o bad.graph --files-from noname.txt
z -f -o bad.graph --files-from missing.txt
