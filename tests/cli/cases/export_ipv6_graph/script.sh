# An IPv6 graph in every format: each names the unit of its covering, /64 units, where an IPv4
# graph's formats say nothing of addresses.
for to in summary graphml json dot; do
  echo "== $to"
  if [ $to = summary ]; then "$ZELGRIN" six.graph; else "$ZELGRIN" --to $to six.graph; fi
done
echo "== csv"
"$ZELGRIN" --to csv -o tables six.graph && cat tables/edges.csv
