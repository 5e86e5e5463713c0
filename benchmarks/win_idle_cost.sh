#!/usr/bin/env bash
# What the Windows program costs while it watches, under Wine in Xvfb: vespar.exe on the shipped
# configuration (all three checks on), kept in Run by a one-pixel pointer nudge every 3 s.
# Prints, for the Wine process that runs vespar.exe, its private memory (Private_Clean +
# Private_Dirty of /proc/PID/smaps_rollup: Wine's own loaded libraries included), its resident
# size, CPU milliseconds per second and wake-ups per second (context switches of every thread),
# and the same for Wine's own Notepad left idle beside it (the floor any Win32 window program
# has under Wine) and for the wineserver, which serves many of their calls.
# Usage: benchmarks/win_idle_cost.sh [path/to/vespar.exe] [seconds]
#        (defaults: build-win/vespar/vespar.exe, 60)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(readlink -f "${1:-$here/../build-win/vespar/vespar.exe}")
seconds=${2:-60}
[ -f "$exe" ] || { echo "no program at $exe (scripts/test_windows.sh builds it)" >&2; exit 2; }
source "$here/../scripts/xvfb_rig.sh"
source "$here/../scripts/wine_gui.sh"  # the program test's prefix
source "$here/process_cost.sh"

mkdir -p "$work/p/Data" "$work/p/Log"
cp "$exe" "$work/p/vespar.exe"
cp "$(dirname "$exe")/Data/Vespar.ini" "$work/p/Data/Vespar.ini"
log="$work/p/Log/Vespar.log"
xdotool mousemove 5 5
wine "$work/p/vespar.exe" -InhibitShutdown </dev/null >"$work/out" 2>&1 & pids+=("$!")
for _ in $(seq 1 300); do grep -q ",  Enter    , Run       ," "$log" 2>/dev/null && break; sleep 0.1; done
grep -q ",  Enter    , Run       ," "$log" || fail "the program did not enter Run"
prog=$(pgrep -f 'p\\vespar.exe|p/vespar.exe' | head -n 1)
wine notepad </dev/null >/dev/null 2>&1 & pids+=("$!")
wait_window "Untitled - Notepad" 100 >/dev/null || fail "Notepad did not start"
note=$(pgrep -f 'notepad.exe' | head -n 1)
server=$(pgrep -f "wineserver" | head -n 1)
[ -n "$prog" ] && [ -n "$note" ] && [ -n "$server" ] || fail "no Wine process to measure"
sleep 2

pm0=$(cpu_ms "$prog"); nm0=$(cpu_ms "$note"); sm0=$(cpu_ms "$server")
pw0=$(switches "$prog"); nw0=$(switches "$note"); sw0=$(switches "$server")
t0=$(date +%s.%N)
nudge_for "$seconds"
t1=$(date +%s.%N)
pm1=$(cpu_ms "$prog"); nm1=$(cpu_ms "$note"); sm1=$(cpu_ms "$server")
pw1=$(switches "$prog"); nw1=$(switches "$note"); sw1=$(switches "$server")
kill -0 "$prog" 2>/dev/null || fail "the program ended during the run"
if grep -q ",  Enter    , Power Off ," "$log"; then fail "the program left Run"; fi
memory() {  # private, anonymous and resident KiB
  echo "$(awk '/^Private_(Clean|Dirty):/ { n += $2 } END { print n }' "/proc/$1/smaps_rollup")" \
    "$(awk '/^RssAnon:/ { print $2 }' "/proc/$1/status")" \
    "$(awk '/^VmRSS:/ { print $2 }' "/proc/$1/status")"
}
awk -v t0="$t0" -v t1="$t1" -v pm="$pm0 $pm1" -v nm="$nm0 $nm1" -v sm="$sm0 $sm1" \
    -v pw="$((pw1 - pw0))" -v nw="$((nw1 - nw0))" -v sw="$((sw1 - sw0))" \
    -v pmem="$(memory "$prog")" -v nmem="$(memory "$note")" 'BEGIN {
  s = t1 - t0; split(pm, a, " "); split(nm, n, " "); split(sm, b, " ")
  split(pmem, x, " "); split(nmem, y, " ")
  printf "measured over %.1f s          CPU ms/s  wake-ups/s  private KiB (anonymous)  RSS KiB\n", s
  printf "vespar.exe:                     %7.3f    %7.1f    %6d (%6d)    %6d\n", (a[2] - a[1]) / s, pw / s, x[1], x[2], x[3]
  printf "Notepad, idle:                  %7.3f    %7.1f    %6d (%6d)    %6d\n", (n[2] - n[1]) / s, nw / s, y[1], y[2], y[3]
  printf "wineserver:                     %7.3f    %7.1f\n", (b[2] - b[1]) / s, sw / s
}'
