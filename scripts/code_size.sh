#!/usr/bin/env bash
# Prints the lines of program code (src/) and of test code (tests/) and their ratio, counting
# C++ lines that are neither blank nor comment. Usage: scripts/code_size.sh [--files]
set -euo pipefail
cd "$(dirname "$0")/.."
count() {  # non-blank, non-comment lines of the C++ files below $1
  find "$1" -name '*.cpp' -o -name '*.h' | sort | while IFS= read -r f; do
    awk -v f="$f" '
      { line = $0; code = 0
        while (line != "") {
          if (inblock) {
            i = index(line, "*/"); if (i == 0) { line = ""; break }
            line = substr(line, i + 2); inblock = 0; continue
          }
          sub(/^[ \t]+/, "", line)
          if (line == "" || substr(line, 1, 2) == "//") break
          if (substr(line, 1, 2) == "/*") { inblock = 1; line = substr(line, 3); continue }
          code = 1; break
        }
        n += code }
      END { printf "%6d %s\n", n, f }' "$f"
  done
}
src=$(count src); tests=$(count tests)
if [ "${1:-}" = "--files" ]; then printf '%s\n%s\n' "$src" "$tests" | sort -n; fi
s=$(echo "$src" | awk '{ t += $1 } END { print t }')
t=$(echo "$tests" | awk '{ t += $1 } END { print t }')
echo "program code (src/):  $s lines"
echo "test code (tests/):   $t lines"
awk -v s="$s" -v t="$t" 'BEGIN { printf "tests / program:      %.1f%%\n", 100 * t / s }'
