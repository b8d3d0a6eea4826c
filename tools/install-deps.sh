#!/bin/sh
# Installs the Debian packages that building or testing zelgrin needs, only those missing.
# Idempotent and quiet: when everything is there it prints nothing and installs nothing.
# Usage: tools/install-deps.sh [GROUP...]   groups: build (default), test
# Without root or without network it says what is missing and goes on: the build then leaves
# out what it cannot find (CMake warns, e.g. for a compression library).
set -u

# The one package list. build: compression libraries of the input streams. test: the tools the
# tests load zelgrin-export's output with (networkx, igraph, graphviz) and the MRT decoder the
# MRT reader is checked against (bgpdump); the tests that need a missing one skip.
packages_build="zlib1g-dev libbz2-dev liblzma-dev libzstd-dev"
packages_test="python3-networkx python3-igraph graphviz bgpdump"

groups=${*:-build}
wanted=""
for group in $groups; do
  case $group in
    build) wanted="$wanted $packages_build" ;;
    test) wanted="$wanted $packages_test" ;;
    *) echo "install-deps: unknown group '$group' (build, test)" >&2; exit 2 ;;
  esac
done

# Not a Debian system: nothing to check with, nothing to do.
command -v dpkg-query >/dev/null 2>&1 || exit 0

missing=""
for package in $wanted; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)
  [ "$status" = installed ] || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: missing Debian packages:$missing (install them as root)" >&2
  exit 0
fi
echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists yet; update them only when the install needs it.
if ! apt-get install -y -qq --no-install-recommends $missing >/dev/null 2>&1; then
  apt-get update -qq >/dev/null 2>&1
  apt-get install -y -qq --no-install-recommends $missing >/dev/null 2>&1 ||
    echo "install-deps: could not install$missing; building without them" >&2
fi
exit 0
