#!/usr/bin/env bash
# Installs what is missing, checks the layering, builds with warnings as errors and the
# standard library's assertions, and runs every test (unit tests, the real program under
# Xvfb, the Windows build's tests under Wine), the core and platform unit tests once more
# under the address and undefined-behaviour sanitizers, and each fuzz target for a short
# while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check_layers.sh
scripts/build.sh -DVESPAR_WERROR=ON -DVESPAR_ASSERTIONS=ON
ctest --test-dir build --output-on-failure -j 2
# The Windows side: cross-built with MinGW-w64, its tests run under Wine.
scripts/test_windows.sh -DVESPAR_WERROR=ON
scripts/sanitize.sh
# The fuzz targets, briefly, on their corpora (the core and platform code instrumented).
scripts/fuzz.sh "${VESPAR_FUZZ_SECONDS:-20}"
