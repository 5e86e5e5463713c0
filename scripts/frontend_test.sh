#!/usr/bin/env bash
# Runs the real program in a real window under Xvfb: start, second instance, exit, a broken
# configuration and a missing data folder. Usage: frontend_test.sh path/to/vespar
set -euo pipefail
exe=$(readlink -f "$1")
if [ -z "${VESPAR_IN_XVFB:-}" ]; then
  VESPAR_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$exe"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/run"   # the instance lock of this test only
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh program folder laid out like build/vespar/.
make_folder() {
  local dir=$1
  mkdir -p "$dir/Data" "$dir/Log"
  cp "$exe" "$dir/vespar"
  cp "$(dirname "$exe")/Data/Vespar.ini" "$dir/Data/Vespar.ini"
}

# Waits for a window whose title is exactly $1; prints its id.
wait_window() {
  local title=$1 id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until process $1 has ended and sets rc to its exit code.
wait_exit() {
  local pid=$1
  for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null || [ "$(ps -o stat= -p "$pid" 2>/dev/null)" = "Z" ]; then
      rc=0
      wait "$pid" || rc=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

# 1. Start on the shipped configuration: the main window is titled "Vespar".
make_folder "$work/p1"
"$work/p1/vespar" & first=$!; pids+=("$first")
main=$(wait_window "Vespar") || fail "main window 'Vespar' did not appear"
sleep 2
kill -0 "$first" 2>/dev/null || fail "the program ended on its own"
echo "ok: main window $main"

# 2. A second start shows the start-up error and never loads a main window.
"$work/p1/vespar" & second=$!; pids+=("$second")
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
grep -q ",  Exit     , Initialise, Count:    2" "$log" || fail "no exit entry in the log"
echo "ok: Exit"

# 5. A broken configuration shows exactly its error and nothing else happens.
make_folder "$work/p3"
printf 'garbage\r\n' > "$work/p3/Data/Vespar.ini"
"$work/p3/vespar" & broken=$!; pids+=("$broken")
box=$(wait_window "Vespar Configuration File Error") || fail "no configuration error box"
[ "$(count_windows Vespar)" -eq 0 ] || fail "a main window appeared behind the error"
xdotool windowfocus --sync "$box" key Return
wait_exit "$broken" || fail "the program did not end after the error"
[ "$(ls -A "$work/p3/Log")" = "" ] || fail "the broken start wrote into Log/"
echo "ok: broken configuration ($rc)"

# 6. A missing data folder.
make_folder "$work/p4"
rm -rf "$work/p4/Data"
"$work/p4/vespar" & nodata=$!; pids+=("$nodata")
box=$(wait_window "Vespar Data Directory Error") || fail "no data directory error box"
xdotool windowfocus --sync "$box" key Return
wait_exit "$nodata" || fail "the program did not end after the data error"
echo "ok: missing data folder"
echo "frontend: all passed"
