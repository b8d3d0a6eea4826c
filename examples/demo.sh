#!/bin/sh
# Shows the program's help until graph construction is wired in.
set -eu
"$1" --help
