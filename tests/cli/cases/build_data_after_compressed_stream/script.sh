# Streams written one after another read as one text in every format; any other bytes after the
# last complete stream (text, a member whose first byte is damaged) fail the read at their byte
# offset, whatever the format, and no graph is written.
for variant in gz bz2 xz zst; do
  cat "paths.$variant" "paths.$variant" >twice
  "$ZELGRIN" -f -o twice.graph --file:pne twice 2>/dev/null || echo "$variant: two streams refused"
  { cat "paths.$variant"; printf 'text after the data\n'; } >text
  "$ZELGRIN" -f -o text.graph --file:pne text
  echo "status $?"
  { cat "paths.$variant"; printf '\001'; tail -c +2 "paths.$variant"; } >damaged
  "$ZELGRIN" -f -o damaged.graph --file:pne damaged 2>&1 | tail -1
done
ls *.graph
