#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the core and the platform library instrumented
# too) and runs each on its committed corpus for a short while. Usage: scripts/fuzz.sh
# [seconds per target, default 30]. New inputs go to a scratch folder, not the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVESPAR_FUZZ=ON -DVESPAR_TESTS=OFF -DVESPAR_FRONTEND=none -DVESPAR_BENCHMARKS=OFF \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
targets=$(for f in fuzz/*_fuzz.cpp; do basename "$f" _fuzz.cpp; done)
cmake --build build-fuzz -j 2 --target $(printf 'fuzz_%s ' $targets)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for t in $targets; do
  mkdir -p "$scratch/$t"
  corpus=()
  [ -d "fuzz/corpus/$t" ] && corpus=("fuzz/corpus/$t")
  echo "fuzz_$t: ${seconds}s"
  build-fuzz/fuzz_$t -max_total_time="$seconds" -print_final_stats=0 "$scratch/$t" "${corpus[@]}" \
    2>"$scratch/$t.log" || { tail -40 "$scratch/$t.log"; exit 1; }
  grep -E "^#[0-9]+[[:space:]]+DONE" "$scratch/$t.log" | tail -1 || true
done
