#!/bin/sh
# Builds every fuzzing harness with clang and runs each for a bounded time (default 30 seconds).
# Seeds come from fuzz/seeds/<harness>/ when present; a crash or sanitizer report fails the run.
set -eu
seconds=${1:-30}
cd "$(dirname "$0")/.."
sh tools/install-deps.sh build fuzz
generator=$(command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G "$generator" -DCMAKE_BUILD_TYPE=Debug \
  -DZELGRIN_FUZZ=ON -DZELGRIN_TESTS=OFF ${CMAKE_FLAGS:-} >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)"
for harness in build-fuzz/fuzz/*_fuzzer; do
  [ -x "$harness" ] || continue
  name=$(basename "$harness")
  corpus=fuzz/corpus-$name
  mkdir -p "$corpus"
  seeds=""
  [ -d "fuzz/seeds/$name" ] && seeds="fuzz/seeds/$name"
  echo "fuzzing $name for $seconds seconds"
  "$harness" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=0 \
    -artifact_prefix="build-fuzz/$name-" "$corpus" $seeds 2>"build-fuzz/$name.log" || {
    tail -50 "build-fuzz/$name.log"; exit 1; }
  tail -1 "build-fuzz/$name.log"
done
