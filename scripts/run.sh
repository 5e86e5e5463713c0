#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vespar from its program folder build/vespar/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/vespar/vespar "$@"
