#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the program's sources; needs a
# configured build/ (compile_commands.json). Prints the findings; exit status 1 when any.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/compile_commands.json ] || cmake -S . -B build > /dev/null
files=$(find src -name '*.cpp' | sort)
out=$(for f in $files; do clang-tidy -p build --quiet "$f" 2>/dev/null || true; done)
echo "$out" | grep -A3 -E 'warning:|error:' || { echo "clang-tidy: clean"; exit 0; }
exit 1
