#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix inside its build folder (WINEPREFIX,
# if set, wins). The first run creates the prefix. A wineserver kept alive, with Wine's
# background programs detached from our pipes, saves Wine's start-up on every later run and
# keeps ctest from waiting on those pipes.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 PROGRAM.exe [ARGS...]" >&2; exit 2; }
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
exec wine "$@"
