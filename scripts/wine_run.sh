#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix inside its build folder (WINEPREFIX,
# if set, wins). The first run creates the prefix. A wineserver kept alive, with Wine's
# background programs detached from our pipes, saves Wine's start-up on every later run and
# keeps ctest from waiting on those pipes.
#
# With --retry-unstarted first, for programs that always print as they start (the test
# programs): a run that failed without a byte of output never reached the program, since Wine
# now and then fails to start one, and runs once more. Its output is then shown at its end.
set -euo pipefail
retry=
if [ "${1:-}" = --retry-unstarted ]; then retry=1; shift; fi
[ $# -ge 1 ] || { echo "usage: $0 [--retry-unstarted] PROGRAM.exe [ARGS...]" >&2; exit 2; }
if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" = / ] && { echo "$0: no build folder above $1; set WINEPREFIX" >&2; exit 2; }
  export WINEPREFIX="$dir/wineprefix"
fi
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The wineserver of this prefix, if one runs.
server_running() {
  local p
  for p in $(pgrep -u "$(id -u)" -x 'wineserver(64)?' || true); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

mkdir -p "$WINEPREFIX"
(
  # Parallel runs wait here for whoever prepares the prefix or starts the server. Wine's
  # long-lived programs must not inherit the lock (9>&-), or they would hold it for good.
  flock 9
  if [ ! -f "$WINEPREFIX/.vespar-ready" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 9>&-
    # Without a window manager Wine places its windows itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
    touch "$WINEPREFIX/.vespar-ready"
  fi
  if ! server_running; then
    wineserver -p 30 </dev/null >/dev/null 2>&1 9>&-
    wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$WINEPREFIX/.vespar-lock"
[ -n "$retry" ] || exec wine "$@"
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
rc=0
wine "$@" >"$out" 2>"$err" || rc=$?
if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  echo "wine_run: $1 ended with $rc before printing anything; starting it once more" >&2
  rc=0
  wine "$@" >"$out" 2>"$err" || rc=$?
fi
cat "$out"
cat "$err" >&2
exit "$rc"
