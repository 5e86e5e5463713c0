#!/usr/bin/env bash
# Runs the real program in a real window under Xvfb: start, second instance, exit, a broken
# configuration, a missing data folder, real idleness and the configuration screen. Usage: frontend_test.sh path/to/vespar
set -euo pipefail
exe=$(readlink -f "$1")
source "$(dirname "$0")/xvfb_rig.sh"

# 1. Start on the shipped configuration: the main window is titled "Vespar".
make_folder "$work/p1"
"$work/p1/vespar" -InhibitShutdown & first=$!; pids+=("$first")
main=$(wait_window "Vespar") || fail "main window 'Vespar' did not appear"
sleep 2
kill -0 "$first" 2>/dev/null || fail "the program ended on its own"
echo "ok: main window $main"

# 2. A second start shows the start-up error and never loads a main window.
"$work/p1/vespar" -InhibitShutdown & second=$!; pids+=("$second")
notice=$(wait_window "Vespar Start Up Error") || fail "no 'Vespar Start Up Error' window"
[ "$(count_windows Vespar)" -eq 1 ] || fail "the second instance opened a main window"
xdotool windowfocus --sync "$notice" key space
wait_exit "$second" || fail "the notice's Exit did not end the second instance"
echo "ok: second instance refused, Exit ended it ($rc)"

# 3. "-AllowMulti" at the end lets a second instance load its main window.
make_folder "$work/p2"
"$work/p2/vespar" -InhibitShutdown -AllowMulti & multi=$!; pids+=("$multi")
for _ in $(seq 1 50); do [ "$(count_windows Vespar)" -ge 2 ] && break; sleep 0.1; done
[ "$(count_windows Vespar)" -ge 2 ] || fail "-AllowMulti did not allow a second main window"
kill "$multi"
echo "ok: -AllowMulti"

# 4. Exit on the main window ends the program.
xdotool windowfocus --sync "$main" key alt+e
wait_exit "$first" || fail "Exit did not end the program"
[ "$rc" -eq 0 ] || fail "Exit ended the program with code $rc"
log="$work/p1/Log/Vespar.log"
[ -f "$log" ] || fail "no log file after a run"
grep -q ",  Start    , Initialise, Count:    2" "$log" || fail "no start entry in the log"
grep -Eq ",  Exit     , (Initialise|Run       ), Count: +[0-9]+"$'\r' "$log" || fail "no exit entry in the log"
echo "ok: Exit"

# 5. A broken configuration shows exactly its error and nothing else happens.
make_folder "$work/p3"
printf 'garbage\r\n' > "$work/p3/Data/Vespar.ini"
"$work/p3/vespar" -InhibitShutdown & broken=$!; pids+=("$broken")
box=$(wait_window "Vespar Configuration File Error") || fail "no configuration error box"
[ "$(count_windows Vespar)" -eq 0 ] || fail "a main window appeared behind the error"
xdotool windowfocus --sync "$box" key Return
wait_exit "$broken" || fail "the program did not end after the error"
[ "$(ls -A "$work/p3/Log")" = "" ] || fail "the broken start wrote into Log/"
echo "ok: broken configuration ($rc)"

# 6. A missing data folder.
make_folder "$work/p4"
rm -rf "$work/p4/Data"
"$work/p4/vespar" -InhibitShutdown & nodata=$!; pids+=("$nodata")
box=$(wait_window "Vespar Data Directory Error") || fail "no data directory error box"
xdotool windowfocus --sync "$box" key Return
wait_exit "$nodata" || fail "the program did not end after the data error"
echo "ok: missing data folder"

# 7. Real idleness and real input: only the keyboard/mouse check, Full log level. Mouse moves
#    keep the program in Run; left alone it reaches its simulated action.
make_folder "$work/p5"
for key in CPU_On DL_On; do set_key "$work/p5" "$key" 1; done
set_key "$work/p5" LogLevel 3
"$work/p5/vespar" -InhibitShutdown & idle=$!; pids+=("$idle")
wait_window "Vespar" >/dev/null || fail "no main window for the idleness run"
log="$work/p5/Log/Vespar.log"
for _ in $(seq 1 50); do grep -q ",  Enter    , Run       ," "$log" 2>/dev/null && break; sleep 0.1; done
grep -q ",  Enter    , Run       ," "$log" || fail "the program did not enter Run"
for i in $(seq 1 24); do xdotool mousemove $((100 + i * 7)) $((100 + i * 3)); sleep 0.5; done
if grep -q ",  Enter    , Power Off ," "$log"; then fail "moving the mouse did not count as activity"; fi
echo "ok: mouse moves keep the program in Run"
box=$(wait_window "Vespar Simulate Power Off" 400) || fail "left alone, no simulated action"
xdotool windowfocus --sync "$box" key Return
wait_exit "$idle" || fail "the program did not end after its simulated action"
for entry in ",  Enter    , Power Off ," ",  Simulate , Power Off ," ",  Close    , Power Off ,"; do
  grep -q -- "$entry" "$log" || fail "no '$entry' entry in the log"
done
# Every entry keeps its columns: "hh:mm:ss,  Event    , State     , Count: nnnn" and CR LF.
bad=$(grep -E '^[0-9]{2}:[0-9]{2}:[0-9]{2},' "$log" |
      grep -v -E $'^[0-9]{2}:[0-9]{2}:[0-9]{2},  .{9}, .{10}, Count: [ 0-9]{3}[0-9].*\r$' || true)
[ -z "$bad" ] || fail "log lines out of layout: $bad"
echo "ok: idleness run reached its simulated action; log:"
cat "$log"

# 8. The configuration screen as a person uses it: Configure, a new keyboard/mouse delay, Save,
#    Exit. Only administrators may save. Under -InhibitShutdown the screen closes itself after
#    4 seconds, so each attempt types in one go; a later attempt uses another value.
if [ "$(id -u)" -eq 0 ] || id -nG | grep -qwE 'sudo|wheel|admin'; then
  make_folder "$work/p6"
  "$work/p6/vespar" -InhibitShutdown & cfg=$!; pids+=("$cfg")
  main=$(wait_window "Vespar") || fail "no main window for the configuration run"
  log="$work/p6/Log/Vespar.log"
  ini="$work/p6/Data/Vespar.ini"
  for delay in 900 901 902; do
    xdotool windowfocus --sync "$main" key alt+c
    screen=$(wait_window "Vespar Configuration" 30) || fail "Configure opened no configuration screen"
    # The focus starts on CPU Check; five tabs reach Key/Mouse Delay and select its text.
    xdotool windowfocus --sync "$screen" key Tab Tab Tab Tab Tab
    xdotool type "$delay"
    xdotool key alt+s alt+e
    for _ in $(seq 1 30); do grep -q ",  Config   , Updated   ," "$log" && break; sleep 0.1; done
    grep -q ",  Config   , Updated   ," "$log" && break
    for _ in $(seq 1 60); do [ "$(count_windows "Vespar Configuration")" -eq 0 ] && break; sleep 0.1; done
  done
  grep -q $'^KeyDelay='"$delay"$'\r$' "$ini" || fail "the new delay is not in Data/Vespar.ini"
  # The file keeps the user's other settings, not the delays the test switch shortened.
  grep -q $'^DelTime=900\r$' "$ini" || fail "the save changed the fixed delay"
  grep -q ",  Config   , Updated   ," "$log" || fail "no 'Config Updated' entry after Save and Exit"
  [ "$(count_windows "Vespar Configuration")" -eq 0 ] || fail "Exit left the configuration screen open"
  # The reset read the file again: the program goes on and its Exit is open again.
  xdotool windowfocus --sync "$main" key alt+e
  wait_exit "$cfg" || fail "Exit did not end the program after the configuration run"
  [ "$rc" -eq 0 ] || fail "the program ended with code $rc after the configuration run"
  echo "ok: configuration screen saved KeyDelay=$delay and reset the program"
else
  echo "skipped: the configuration screen saves only for administrators"
fi

# 9. Ended by the system: SIGTERM runs the program's exit, whose last entry is "Exit".
make_folder "$work/p8"
"$work/p8/vespar" -InhibitShutdown & term=$!; pids+=("$term")
wait_window "Vespar" >/dev/null || fail "no main window for the SIGTERM run"
kill -TERM "$term"
wait_exit "$term" || fail "SIGTERM did not end the program"
[ "$rc" -eq 0 ] || fail "SIGTERM ended the program with code $rc"
tail -n 1 "$work/p8/Log/Vespar.log" | grep -q ",  Exit     , " || fail "the log does not end with Exit"
echo "ok: SIGTERM"

# 10. Without any display: a message on standard error and a non-zero code, no abort.
make_folder "$work/p9"
rc=0
env -u DISPLAY -u WAYLAND_DISPLAY "$work/p9/vespar" -InhibitShutdown 2>"$work/p9/err" || rc=$?
[ "$rc" -eq 1 ] || fail "without a display the exit code is $rc"
grep -q "no display" "$work/p9/err" || fail "without a display nothing was said on stderr"
echo "ok: no display"
echo "frontend: all passed"
