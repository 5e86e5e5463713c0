#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests and the real program
# under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j 2
