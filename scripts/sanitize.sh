#!/usr/bin/env bash
# Builds the core and platform unit tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (and the standard library's assertions) into build-asan/, and
# runs them; any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVESPAR_SANITIZE=ON -DVESPAR_WERROR=ON \
  -DVESPAR_ASSERTIONS=ON -DVESPAR_FRONTEND=none -DVESPAR_BENCHMARKS=OFF \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build build-asan -j "$(nproc)"
ctest --test-dir build-asan --output-on-failure -j 2
