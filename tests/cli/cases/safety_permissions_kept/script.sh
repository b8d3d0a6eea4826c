# The replaced file keeps its permission bits, whatever the umask; a new one gets 0666 less the
# umask, as before.
chmod 640 out.graph
umask 077
"$ZELGRIN" -f --file:pne paths.txt -o out.graph || exit
"$ZELGRIN" -f --file:pne paths.txt -o new.graph || exit
stat -c '%n %a' out.graph new.graph
umask 0
chmod 604 out.graph
"$ZELGRIN" -f --file:pne paths.txt -o out.graph || exit
"$ZELGRIN" -f --file:pne paths.txt -o other.graph || exit
stat -c '%n %a' out.graph other.graph
