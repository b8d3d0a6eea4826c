# 1 GiB of zeros, plain (a sparse file), in gzip and in zstd (64 members or frames of 16 MiB,
# which decode as one text): read as one line, it is refused at 16 MiB instead of being held.
source "$(dirname "$0")/io_resource_lib.sh"
truncate -s 1G zeros || exit 2
inputs=(zeros)
for tool in gzip zstd; do
  command -v "$tool" >/dev/null || continue
  head -c 16M /dev/zero | "$tool" -1 -c >member || exit 2
  for _ in $(seq 64); do cat member; done >"zeros.$tool"
  inputs+=("zeros.$tool")
done
for input in "${inputs[@]}"; do
  where='line at byte 0 of the decompressed data is longer than 16 MiB'
  [ "$input" = zeros ] && where='line at byte 0 is longer than 16 MiB'
  capped 2 "Error: Unable to read input file \`$input'
($where)" "$ZELGRIN" -f -o out.graph --file:pnec "$input"
  capped 3 "File \`$input' does not appear to be a valid graph file:
$where" "$ZELGRIN_EXPORT" "$input"
done
finish
