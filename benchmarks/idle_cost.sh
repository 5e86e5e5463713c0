#!/usr/bin/env bash
# What the program costs while it watches: the real program under Xvfb, all three checks on,
# kept in Run by a one-pixel pointer nudge every 3 s, beside a minimal reader of the same
# sources (benchmarks/minimal_reader.c). Prints CPU milliseconds per second of each (the
# scheduler's run time of every thread, se.sum_exec_runtime in /proc/PID/task/*/sched; utime +
# stime from /proc/PID/stat as a cross-check, in whole clock ticks), their ratio, and wake-ups
# per second (voluntary + involuntary context switches of every thread, /proc/PID/task/*/status).
# Usage: benchmarks/idle_cost.sh [path/to/vespar] [seconds]   (defaults: build/vespar/vespar, 60)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(readlink -f "${1:-$here/../build/vespar/vespar}")
seconds=${2:-60}
[ -x "$exe" ] || { echo "no program at $exe (build it first)" >&2; exit 2; }
work=$(mktemp -d)
pids=()
cleanup() {
  local i  # the last started first, the X server last
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -9 "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
# A display of its own: Xvfb takes the first free number and writes it when ready, so runs
# beside other Xvfb users never share or miss a display.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=("$!")
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
# Never a real action: -InhibitShutdown, and logind calls would go to a bus that does not exist.
export VESPAR_LOGIND_BUS="unix:path=$work/no-such-bus"
# The daily update check asks a port on this machine that nobody serves, never the network.
export VESPAR_WEB_BASE="http://127.0.0.1:9/"

cc -O2 -o "$work/minimal_reader" "$here/minimal_reader.c" -lX11

# The shipped configuration has all three checks on, with delays far longer than the nudges.
mkdir -p "$work/p/Data" "$work/p/Log"
cp "$exe" "$work/p/vespar"
cp "$(dirname "$exe")/Data/Vespar.ini" "$work/p/Data/Vespar.ini"
log="$work/p/Log/Vespar.log"
xdotool mousemove 5 5
# Start-up: from exec to the main window on screen, polled every few milliseconds.
s0=$(date +%s%N)
"$work/p/vespar" -InhibitShutdown & prog=$!; pids+=("$prog")
until xdotool search --onlyvisible --name '^Vespar$' >/dev/null 2>&1; do
  (( $(date +%s%N) - s0 < 10000000000 )) || { echo "no main window" >&2; exit 1; }
done
startup=$(( ($(date +%s%N) - s0) / 1000000 ))
for _ in $(seq 1 100); do grep -q ",  Enter    , Run       ," "$log" 2>/dev/null && break; sleep 0.1; done
grep -q ",  Enter    , Run       ," "$log" || { echo "the program did not enter Run" >&2; exit 1; }
"$work/minimal_reader" & reader=$!; pids+=("$reader")
sleep 1

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
cpu_ms() {  # run time of every thread in ms
  cat /proc/"$1"/task/*/sched 2>/dev/null |
    awk '/^se.sum_exec_runtime/ { n += $3 } END { printf "%.6f", n + 0 }'
}
switches() {  # voluntary + involuntary, all threads
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}
hz=$(getconf CLK_TCK)
p0=$(cpu_ticks "$prog"); r0=$(cpu_ticks "$reader")
pm0=$(cpu_ms "$prog"); rm0=$(cpu_ms "$reader")
pw0=$(switches "$prog"); rw0=$(switches "$reader")
t0=$(date +%s.%N)
for i in $(seq 1 $((seconds / 3))); do
  sleep 3
  if ((i % 2)); then xdotool mousemove_relative 1 0; else xdotool mousemove_relative -- -1 0; fi
done
t1=$(date +%s.%N)
p1=$(cpu_ticks "$prog"); r1=$(cpu_ticks "$reader")
pm1=$(cpu_ms "$prog"); rm1=$(cpu_ms "$reader")
pw1=$(switches "$prog"); rw1=$(switches "$reader")

kill -0 "$prog" 2>/dev/null || { echo "the program ended during the run" >&2; exit 1; }
if grep -q ",  Enter    , Power Off ," "$log"; then echo "the program left Run" >&2; exit 1; fi
rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$prog/status")
awk -v p="$((p1 - p0))" -v r="$((r1 - r0))" -v pw="$((pw1 - pw0))" -v rw="$((rw1 - rw0))" \
    -v pm="$(echo "$pm1 $pm0" | awk '{ print $1 - $2 }')" \
    -v rm="$(echo "$rm1 $rm0" | awk '{ print $1 - $2 }')" \
    -v t0="$t0" -v t1="$t1" -v hz="$hz" -v rss="$rss" -v startup="$startup" 'BEGIN {
  s = t1 - t0
  printf "start-up (exec to visible main window): %d ms\n", startup
  printf "measured over %.1f s\n", s
  printf "                CPU ms/s  (utime+stime)  wake-ups/s\n"
  printf "program:        %8.3f  (%8.2f)     %8.1f   RSS %d KiB\n", pm / s, p * 1000 / hz / s, pw / s, rss
  printf "minimal reader: %8.3f  (%8.2f)     %8.1f\n", rm / s, r * 1000 / hz / s, rw / s
  if (rm > 0) printf "ratio:          %8.1f\n", pm / rm
}'
