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
source "$here/../scripts/xvfb_rig.sh"
source "$here/process_cost.sh"

cc -O2 -o "$work/minimal_reader" "$here/minimal_reader.c" -lX11

# The shipped configuration has all three checks on, with delays far longer than the nudges.
make_folder "$work/p"
log="$work/p/Log/Vespar.log"
xdotool mousemove 5 5
# Start-up: from exec to the main window on screen, polled every few milliseconds.
s0=$(date +%s%N)
"$work/p/vespar" -InhibitShutdown & prog=$!; pids+=("$prog")
until xdotool search --onlyvisible --name '^Vespar$' >/dev/null 2>&1; do
  (( $(date +%s%N) - s0 < 10000000000 )) || fail "no main window"
done
startup=$(( ($(date +%s%N) - s0) / 1000000 ))
wait_log "$log" ",  Enter    , Run       ," 100 || fail "the program did not enter Run"
"$work/minimal_reader" & reader=$!; pids+=("$reader")
sleep 1

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
p0=$(cpu_ticks "$prog"); r0=$(cpu_ticks "$reader")
pm0=$(cpu_ms "$prog"); rm0=$(cpu_ms "$reader")
pw0=$(switches "$prog"); rw0=$(switches "$reader")
t0=$(date +%s.%N)
nudge_for "$seconds"
t1=$(date +%s.%N)
p1=$(cpu_ticks "$prog"); r1=$(cpu_ticks "$reader")
pm1=$(cpu_ms "$prog"); rm1=$(cpu_ms "$reader")
pw1=$(switches "$prog"); rw1=$(switches "$reader")

kill -0 "$prog" 2>/dev/null || fail "the program ended during the run"
if grep -q ",  Enter    , Power Off ," "$log"; then fail "the program left Run"; fi
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
