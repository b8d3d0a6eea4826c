# A symbolic link planted by another user in a sticky, world-writable folder (as in /tmp) is
# not followed to the file it names: the graph is refused and the file stays as it was. The
# same link of the folder's owner is followed. Needs root to give the link another owner.
source "$(dirname "$0")/io_resource_lib.sh"
[ "$(id -u)" = 0 ] || { echo "skipped: needs root"; exit 77; }
printf '1 2\n' >paths
"$ZELGRIN" -f -o graph --file:pne paths || exit 2
printf 'precious\n' >victim
mkdir shared && chmod 1777 shared
ln -s "$scratch/victim" shared/out.graph && chown -h 4242 shared/out.graph
capped 2 "Unable to open file \`shared/out.graph' for writing
(Permission denied)" "$ZELGRIN" -f -o shared/out.graph --file:pne paths
capped 2 "Unable to open file \`shared/out.graph' for writing
(Permission denied)" "$ZELGRIN_EXPORT" --to json -o shared/out.graph graph
[ "$(cat victim)" = precious ] || { echo "FAILED: the link's target was replaced"; failures=1; }
[ "$(ls -A shared)" = out.graph ] || { echo "FAILED: files left in the folder"; failures=1; }
chown 4242 shared
capped 0 "" "$ZELGRIN" -f -o shared/out.graph --file:pne paths
head -1 victim | grep -q VGR || { echo "FAILED: the owner's link was not followed"; failures=1; }
finish
