#!/usr/bin/env bash
# What the program costs while it watches: the real program under Xvfb, all three checks on,
# kept in Run by a one-pixel pointer nudge every 3 s, beside a minimal reader of the same
# sources (benchmarks/minimal_reader.c) and the least Qt Widgets program doing the reader's
# work on the same timer, with and without one line redrawn a second
# (benchmarks/qt_floor/qt_floor.cpp). Prints CPU milliseconds per second of each (the
# scheduler's run time of every thread, se.sum_exec_runtime in /proc/PID/task/*/sched; utime +
# stime from /proc/PID/stat as a cross-check, in whole clock ticks), their ratio, and wake-ups
# per second (voluntary + involuntary context switches of every thread, /proc/PID/task/*/status).
# Usage: benchmarks/idle_cost.sh [--in-tray] [path/to/vespar] [seconds]
#   (defaults: build/vespar/vespar, 60). --in-tray runs a system tray (trayer) and starts the
#   program minimised, as it runs while nobody looks at it: its window hidden, only the tray
#   icon drawn.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
in_tray=false
if [ "${1:-}" = --in-tray ]; then in_tray=true; shift; fi
exe=$(readlink -f "${1:-$here/../build/vespar/vespar}")
seconds=${2:-60}
[ -x "$exe" ] || { echo "no program at $exe (build it first)" >&2; exit 2; }
source "$here/../scripts/xvfb_rig.sh"
source "$here/process_cost.sh"

cc -O2 -o "$work/minimal_reader" "$here/minimal_reader.c" -lX11
# shellcheck disable=SC2046  # pkg-config's flags are meant to split
c++ -O2 -fPIC -o "$work/qt_floor" "$here/qt_floor/qt_floor.cpp" \
  $(pkg-config --cflags --libs Qt6Widgets) -lX11

# The shipped configuration has all three checks on, with delays far longer than the nudges.
make_folder "$work/p"
log="$work/p/Log/Vespar.log"
xdotool mousemove 5 5
if $in_tray; then
  command -v trayer >/dev/null || fail "--in-tray needs trayer (apt-get install trayer)"
  set_key "$work/p" StartMin 2
  trayer --edge bottom --align right --widthtype pixel --width 100 --heighttype pixel \
    --height 24 & pids+=("$!")
  sleep 1
fi
# Start-up: from exec to the main window on screen, polled every few milliseconds.
s0=$(date +%s%N)
"$work/p/vespar" -InhibitShutdown & prog=$!; pids+=("$prog")
if $in_tray; then
  startup=-1  # the window is not meant to be seen
else
  until xdotool search --onlyvisible --name '^Vespar$' >/dev/null 2>&1; do
    (( $(date +%s%N) - s0 < 10000000000 )) || fail "no main window"
  done
  startup=$(( ($(date +%s%N) - s0) / 1000000 ))
fi
wait_log "$log" ",  Enter    , Run       ," 100 || fail "the program did not enter Run"
if $in_tray; then
  sleep 1
  if xdotool search --onlyvisible --name '^Vespar$' >/dev/null 2>&1; then
    fail "the main window is on screen: the program found no tray"
  fi
fi
"$work/minimal_reader" & reader=$!; pids+=("$reader")
# The Qt programs start in the environment the program gives Qt (its own event dispatcher,
# repaints over the X connection).
QT_NO_GLIB=1 QT_XCB_NO_MITSHM=1 "$work/qt_floor" & floor=$!; pids+=("$floor")
QT_NO_GLIB=1 QT_XCB_NO_MITSHM=1 "$work/qt_floor" --no-redraw & still=$!; pids+=("$still")
for _ in $(seq 1 100); do (($(count_windows "Qt floor") == 2)) && break; sleep 0.1; done
(($(count_windows "Qt floor") == 2)) || fail "the Qt floor windows did not show"
sleep 1

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
# One line per process: CPU ms, CPU ticks, context switches.
sample() { local p; for p in "$prog" "$floor" "$still" "$reader"; do
  echo "$(cpu_ms "$p") $(cpu_ticks "$p") $(switches "$p")"; done; }
before=$(sample)
t0=$(date +%s.%N)
nudge_for "$seconds"
t1=$(date +%s.%N)
after=$(sample)

kill -0 "$prog" 2>/dev/null || fail "the program ended during the run"
if grep -q ",  Enter    , Power Off ," "$log"; then fail "the program left Run"; fi
rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$prog/status")
paste -d ' ' <(echo "$before") <(echo "$after") |
  awk -v t0="$t0" -v t1="$t1" -v hz="$hz" -v rss="$rss" -v startup="$startup" '
  { ms[NR] = $4 - $1; ticks[NR] = $5 - $2; wakes[NR] = $6 - $3 }
  END {
    s = t1 - t0
    split("program|Qt floor, a line redrawn|Qt floor, nothing redrawn|minimal reader", name, "|")
    if (startup >= 0) printf "start-up (exec to visible main window): %d ms\n", startup
    printf "measured over %.1f s; program RSS %d KiB\n", s, rss
    printf "%-27s CPU ms/s  (utime+stime)  wake-ups/s  x reader\n", ""
    for (i = 1; i <= 4; i++)
      printf "%-27s %8.3f  (%8.2f)     %8.1f  %8.1f\n", name[i] ":", ms[i] / s,
             ticks[i] * 1000 / hz / s, wakes[i] / s, (ms[4] > 0 ? ms[i] / ms[4] : 0)
  }'
