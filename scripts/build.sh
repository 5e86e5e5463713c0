#!/usr/bin/env bash
# Configures and builds everything into build/ (the program folder is build/vespar/). Extra
# arguments go to the configure step, e.g. scripts/build.sh -DVESPAR_WERROR=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j "$(nproc)"
