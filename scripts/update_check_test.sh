#!/usr/bin/env bash
# Runs the real program under Xvfb against a stand-in web site on 127.0.0.1: the Update
# button opens the update window, which finds a newer version. With VESPAR_SCREENSHOT_DIR
# set it also saves a picture of the window there. Usage: update_check_test.sh path/to/vespar
set -euo pipefail
exe=$(readlink -f "$1")
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/xvfb_rig.sh"
on_fail() { [ -f "$work/p/Log/Updater.log" ] && cat "$work/p/Log/Updater.log"; }

# The site publishes version 6.0.
python3 "$here/tests/servers/version_server.py" 6.0 > "$work/port" & pids+=("$!")
for _ in $(seq 1 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(head -n 1 "$work/port")
[ -n "$port" ] || fail "the web site did not start"
export VESPAR_WEB_BASE="http://127.0.0.1:$port/newer/"

# A program folder with the daily check off (only the button checks) and the updater log on.
make_folder "$work/p"
set_key "$work/p" UpEnable 1
: > "$work/p/Log/LogOn.txt"
"$work/p/vespar" -InhibitShutdown & program=$!; pids+=("$program")
main=$(wait_window "Vespar") || fail "no main window"
xdotool windowfocus --sync "$main" key alt+u
updater=$(wait_window "Vespar Update Check") || fail "Update opened no update window"
log="$work/p/Log/Updater.log"
for _ in $(seq 1 100); do grep -q "Error Count  :  0" "$log" 2>/dev/null && break; sleep 0.1; done
grep -q "Error Count  :  0" "$log" || fail "no complete version document was read"
grep -q "^http://127.0.0.1:$port/newer/software/misc/updatecheck.xml?PName=Vespar&ampPVer=1.0.0.0"$'\r'"\$" "$log" ||
  fail "the request was not the one expected"
grep -q "Major Version:  6.0" "$log" || fail "the published version was not read"
echo "ok: the Update button fetched the version document from $VESPAR_WEB_BASE"
if [ -n "${VESPAR_SCREENSHOT_DIR:-}" ]; then
  sleep 0.5
  import -window "$updater" "$VESPAR_SCREENSHOT_DIR/update-window-newer.png"
fi
xdotool windowfocus --sync "$updater" key alt+e
for _ in $(seq 1 50); do [ -z "$(xdotool search --onlyvisible --name '^Vespar Update Check$' || true)" ] && break; sleep 0.1; done
[ -z "$(xdotool search --onlyvisible --name '^Vespar Update Check$' || true)" ] || fail "Exit left the update window open"
# The Update button is back: it opens the window again.
xdotool windowfocus --sync "$main" key alt+u
wait_window "Vespar Update Check" > /dev/null || fail "the Update button did not come back"
kill "$program"
echo "update: all passed"
