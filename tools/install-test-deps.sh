#!/bin/sh
# Installs the Debian packages that the consumer tests of zelgrin-export load its output with
# (networkx, igraph, graphviz), only those that are missing. Safe to run again: with everything
# present it does nothing and prints nothing. It never fails the build: without root, apt-get or
# a reachable archive it names what is missing, and the tests that need it skip themselves.
set -u
packages="python3-networkx python3-igraph graphviz"
missing=""
for package in $packages; do
  status=$(dpkg-query -W -f '${Status}' "$package" 2>/dev/null)
  [ "$status" = "install ok installed" ] || missing="$missing $package"
done
[ -n "$missing" ] || exit 0
if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null 2>&1; then
  echo "Test packages missing:$missing (install them as root; their tests skip meanwhile)"
  exit 0
fi
echo "Installing test packages:$missing"
log=$(mktemp)
install() {
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing >"$log" 2>&1
}
# A stale or absent package list makes the first try fail; refresh it then, and only then.
if ! install && ! { apt-get update -q >"$log" 2>&1 && install; }; then
  tail -5 "$log"
  echo "Could not install:$missing (their tests skip)"
fi
rm -f "$log"
exit 0
