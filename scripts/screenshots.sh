#!/usr/bin/env bash
# Renders the pictures of the main window (in Run and in the shutdown warning), of the About
# window and of the configuration window (as opened, and with out-of-range values) into
# docs/screenshots/ from the front-end's widget tests, and of the update window from a real run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen VESPAR_SCREENSHOT_DIR="$PWD/docs/screenshots" build/vespar_qt_tests
# The update window from a real run against the stand-in web site.
VESPAR_SCREENSHOT_DIR="$PWD/docs/screenshots" scripts/update_check_test.sh build/vespar/vespar
