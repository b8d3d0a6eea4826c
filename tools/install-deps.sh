#!/bin/sh
# Installs the Debian packages that building, testing or fuzzing zelgrin needs, only those missing.
# Idempotent and quiet: when everything is there it prints nothing and installs nothing.
# Usage: tools/install-deps.sh [--dry-run] [GROUP...]   groups: build (default), test, fuzz, format
#   --dry-run   say what is missing and the command that would install it; install nothing
# Without root or without network it says what is missing and goes on: the build then leaves
# out what it cannot find (CMake warns, e.g. for a compression library). The Makefile runs the
# build group before configuring and the test group before the tests; fuzz/run.sh runs build
# and fuzz. The one thing it cannot bring is make itself: on a machine without it, run this
# script first (as root: sh tools/install-deps.sh build test), then make demo or make test.
set -u

# The one package list.
# build: a C++17 compiler, make, CMake (ninja when it can: the Makefile prefers it), GoogleTest
#   (the default build configures the tests, and CMake finds GoogleTest through libgtest-dev),
#   pkgconf (CMake finds zstd with it) and the compression libraries of the input streams.
# test: the tools the tests load zelgrin-export's output with (networkx, igraph, graphviz), the
#   MRT decoder the MRT reader is checked against (bgpdump), the compressors the tests make
#   their compressed inputs with, and Python for the test scripts; tests that need a missing
#   consumer or bgpdump skip.
# fuzz: clang and the runtime that gives -fsanitize=fuzzer (libclang-rt-dev, for the default
#   clang; the libFuzzer harnesses build with it only).
packages_build="g++ make cmake ninja-build pkgconf libgtest-dev zlib1g-dev libbz2-dev liblzma-dev
  libzstd-dev"
packages_test="python3 python3-networkx python3-igraph graphviz bgpdump bzip2 xz-utils zstd python3-dask python3-distributed"
packages_fuzz="clang libclang-rt-dev"
packages_format="clang-format"

dry_run=no
if [ "${1:-}" = --dry-run ]; then
  dry_run=yes
  shift
fi
groups=${*:-build}
wanted=""
for group in $groups; do
  case $group in
    build) wanted="$wanted $packages_build" ;;
    test) wanted="$wanted $packages_test" ;;
    fuzz) wanted="$wanted $packages_fuzz" ;;
    format) wanted="$wanted $packages_format" ;;
    *) echo "install-deps: unknown group '$group' (build, test, fuzz, format)" >&2; exit 2 ;;
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

if [ $dry_run = yes ]; then
  echo "install-deps: missing$missing"
  echo "install-deps: would run: apt-get install -y --no-install-recommends$missing"
  exit 0
fi
if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: missing Debian packages:$missing (install them as root)" >&2
  exit 0
fi
echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
apt_install() { apt-get install -y -qq --no-install-recommends "$@" >/dev/null 2>&1; }
# A fresh machine has no package lists yet; update them only when the install needs it. When
# the whole list still fails (a name this release does not know), each package is tried alone,
# so that one missing name keeps none of the others out.
if ! apt_install $missing; then
  apt-get update -qq >/dev/null 2>&1
  if ! apt_install $missing; then
    failed=""
    for package in $missing; do
      apt_install "$package" || failed="$failed $package"
    done
    [ -n "$failed" ] && echo "install-deps: could not install$failed; going on without them" >&2
  fi
fi
exit 0
