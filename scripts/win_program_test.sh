#!/usr/bin/env bash
# Runs the real Windows program under Wine in a real window under Xvfb: the main window, the
# tray icon's popup menu and its Test item with the self-closing box, typed keys and mouse
# moves as activity, the simulated action when left alone, and the configuration screen.
# Usage: win_program_test.sh path/to/vespar.exe path/to/win_probe.exe
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2")
source "$(dirname "$0")/xvfb_rig.sh"
source "$(dirname "$0")/wine_gui.sh"

on_fail() {
  for log in "$work"/*/Log/Vespar.log; do [ -f "$log" ] && { echo "== $log"; tr -d '\r' <"$log"; }; done
}

probe() { wine "$probe_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# A fresh program folder laid out like build-win/vespar/.
win_folder() {
  mkdir -p "$1/Data" "$1/Log"
  cp "$exe" "$1/vespar.exe"
  cp "$(dirname "$exe")/Data/Vespar.ini" "$1/Data/Vespar.ini"
}

start() { wine "$1/vespar.exe" -InhibitShutdown </dev/null >"$1/out" 2>&1 & pids+=("$!"); last=$!; }

# Wine's own windows become active by a click, not by the X focus alone: a click on the top
# left of the client area (a label), then keys reach window $1.
activate() { xdotool mousemove --window "$1" 12 30 click 1; sleep 0.3; }

# Every menu window is an untitled window beside the root's.
menus() { xdotool search --onlyvisible --name '^$' 2>/dev/null | wc -l; }

# 1. The main window appears, with only the keyboard/mouse check on and the Full log level;
#    a second instance is refused.
win_folder "$work/p1"
for key in CPU_On DL_On UpEnable; do set_key "$work/p1" "$key" 1; done
set_key "$work/p1" LogLevel 3
start "$work/p1"; prog=$last
main=$(wait_window "Vespar" 300) || fail "main window 'Vespar' did not appear"
log="$work/p1/Log/Vespar.log"
wait_log "$log" ",  Enter    , Run       ," 100 || fail "the program did not enter Run"
echo "ok: main window"
# A second start shows the start-up error and never loads a main window.
start "$work/p1"; second=$last
notice=$(wait_window "Vespar Start Up Error" 300) || fail "no 'Vespar Start Up Error' window"
[ "$(count_windows Vespar)" -eq 1 ] || fail "the second instance opened a main window"
xdotool windowfocus --sync "$notice" key space
wait_exit "$second" || fail "the notice's Exit did not end the second instance"
echo "ok: second instance refused"

# 2. The tray icon's popup menu: a right click on the icon in Wine's tray window (moved into
#    the open first), or, when Wine's menu closes at once, the icon's message posted directly.
wait_window "Wine System Tray" 50 >/dev/null || fail "no tray icon window"
probe move "Wine System Tray" 600 500 || fail "cannot move the tray window"
before=$(menus)
for try in 1 2 3 4 5 6; do
  if [ "$try" -le 3 ]; then
    xdotool mousemove 613 532 click 3
  else
    probe post Vespar 512 1 516  # the mouse-move message carrying a right button down
  fi
  for _ in $(seq 1 10); do [ "$(menus)" -gt "$before" ] && break; sleep 0.1; done
  [ "$(menus)" -gt "$before" ] && break
done
[ "$(menus)" -gt "$before" ] || fail "the tray popup menu did not open"
echo "ok: tray popup menu (attempt $try)"
# About, Configure, Minimise, Reset, Test: the fifth item.
xdotool key Down Down Down Down Down Return
wait_window "Vespar - Test Mode" 50 >/dev/null || fail "the menu's Test did not start a test"
wait_log "$log" ", .Enter    , Test      ," 50 || fail "no test entry in the log"
# The test ends with a box that closes itself after 3 seconds.
wait_window "Vespar Test" 300 >/dev/null || fail "the test run showed no 'Vespar Test' box"
for _ in $(seq 1 80); do [ "$(count_windows "Vespar Test")" -eq 0 ] && break; sleep 0.1; done
[ "$(count_windows "Vespar Test")" -eq 0 ] || fail "the test box did not close itself"
wait_window "Vespar" 50 >/dev/null || fail "the caption did not come back after the test"
echo "ok: Test from the tray menu, its box closed itself"

# 3. Typed keys and mouse moves are activity: the counter line says so and no shutdown starts.
# After the test the engine starts again and enters Run a second time.
for _ in $(seq 1 100); do
  [ "$(grep -c ",  Enter    , Run       ," "$log")" -ge 2 ] && break
  sleep 0.1
done
counter() { probe texts Vespar | sed -n 2p; }
activate "$main"
for _ in $(seq 1 20); do xdotool key shift; sleep 0.5; done
[ "$(counter)" = "Activity" ] || fail "typing: the counter line reads '$(counter)'"
for i in $(seq 1 20); do xdotool mousemove $((300 + i * 9)) $((400 + i * 4)); sleep 0.5; done
[ "$(counter)" = "Activity" ] || fail "mouse moves: the counter line reads '$(counter)'"
if grep -q ",  Enter    , Power Off ," "$log"; then fail "input did not count as activity"; fi
echo "ok: keys and mouse moves keep the counters at zero"

# 4. Left alone it reaches its simulated action.
box=$(wait_window "Vespar Simulate Power Off" 400) || fail "left alone, no simulated action"
xdotool windowfocus --sync "$box" key Return
wait_exit "$prog" || fail "the program did not end after its simulated action"
for entry in ",  Enter    , Power Off ," ",  Simulate , Power Off ," ",  Close    , Power Off ,"; do
  grep -q -- "$entry" "$log" || fail "no '$entry' entry in the log"
done
echo "ok: left alone, the simulated action"

# 5. The configuration screen saves a change: Configure, a new keyboard/mouse delay, Save,
#    Exit. Under -InhibitShutdown the screen closes itself after 4 seconds, so each attempt
#    types in one go; a later attempt uses another value.
win_folder "$work/p2"
set_key "$work/p2" UpEnable 1
start "$work/p2"; prog=$last
main=$(wait_window "Vespar" 300) || fail "no main window for the configuration run"
log="$work/p2/Log/Vespar.log"
ini="$work/p2/Data/Vespar.ini"
if [ -n "${VESPAR_SCREENSHOT_DIR:-}" ]; then
  wait_log "$log" ",  Enter    , Run       ," 100 && sleep 3
  import -window "$main" "$VESPAR_SCREENSHOT_DIR/win-main-window.png"
fi
for delay in 900 901 902; do
  activate "$main"
  xdotool key alt+c
  screen=$(wait_window "Vespar Configuration" 30) || continue
  if [ -n "${VESPAR_SCREENSHOT_DIR:-}" ] && [ "$delay" = 900 ]; then
    sleep 0.5  # drawn completely
    import -window "$screen" "$VESPAR_SCREENSHOT_DIR/win-config-window.png"
  fi
  # The focus starts on CPU Check; five tabs reach Key/Mouse Delay and select its text.
  xdotool windowfocus --sync "$screen" key Tab Tab Tab Tab Tab
  xdotool type "$delay"
  xdotool key alt+s alt+e
  wait_log "$log" ",  Config   , Updated   ," 30 && break
  for _ in $(seq 1 60); do [ "$(count_windows "Vespar Configuration")" -eq 0 ] && break; sleep 0.1; done
done
grep -q $'^KeyDelay='"$delay"$'\r$' "$ini" || fail "the new delay is not in Data\\Vespar.ini"
grep -q ",  Config   , Updated   ," "$log" || fail "no 'Config Updated' entry after Save and Exit"
activate "$main"
xdotool key alt+e
wait_exit "$prog" || fail "Exit did not end the program"
[ "$rc" -eq 0 ] || fail "Exit ended the program with code $rc"
echo "ok: the configuration screen saved KeyDelay=$delay"

[ ! -e "$VESPAR_POWER_LOG" ] || fail "a system action was asked for: $(cat "$VESPAR_POWER_LOG")"
echo "win program: all passed"
