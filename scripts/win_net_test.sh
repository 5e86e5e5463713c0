#!/usr/bin/env bash
# Runs the Win32 network ports' tests under Wine against the stand-in web site of
# tests/servers on 127.0.0.1 (its port goes to the tests in VESPAR_TEST_WEB_PORT).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
log=$(mktemp)
python3 "$here/../tests/servers/version_server.py" >"$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 100); do [ -s "$log" ] && break; sleep 0.1; done
port=$(head -n 1 "$log")
[ -n "$port" ] || { echo "the web site did not start" >&2; exit 1; }
# Straight to 127.0.0.1, never through a proxy of the environment.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
VESPAR_TEST_WEB_PORT=$port "$here/wine_run.sh" --retry-unstarted "$exe"
