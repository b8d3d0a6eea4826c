#!/bin/sh
# Fails when a C or C++ file of the repository is not formatted as .clang-format says; lists them.
set -eu
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null 2>&1 || sh tools/install-deps.sh format
files=$(git ls-files '*.h' '*.cpp' '*.c')
# shellcheck disable=SC2086
if ! clang-format --dry-run --Werror $files 2>/dev/null; then
  clang-format --dry-run $files 2>&1 | grep -o '^[^:]*:[0-9]*' | sort -u | head -20
  echo "check-format: files differ from .clang-format (run clang-format -i on them)" >&2
  exit 1
fi
echo "check-format: $(echo "$files" | wc -l) files formatted"
