#!/usr/bin/env bash
# Renders the pictures of the main window (in Run and in the shutdown warning) and of the
# About window into docs/screenshots/, from the front-end's widget test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen VESPAR_SCREENSHOT_DIR="$PWD/docs/screenshots" build/vespar_qt_tests
