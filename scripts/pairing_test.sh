#!/usr/bin/env bash
# Pairs two real programs on 127.0.0.1 under Xvfb, each from its own program folder: the
# slave hears its master, repeats the master's Reset, and reaches its own simulated action
# once the master has gone; a third program on the master's port is told the port is taken. Usage: pairing_test.sh path/to/vespar
set -euo pipefail
exe=$(readlink -f "$1")

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A display of this test's own: Xvfb takes the first free number and writes it when ready,
# so test scripts running side by side never share one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=("$!")
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
export XDG_RUNTIME_DIR="$work/run"   # the instance lock of this test only
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
# Both run with -InhibitShutdown; should one ever reach a real action, its logind calls go
# to a bus that does not exist.
export VESPAR_LOGIND_BUS="unix:path=$work/no-such-bus"
# The daily update check asks a port on this machine that nobody serves, never the network.
export VESPAR_WEB_BASE="http://127.0.0.1:9/"

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*/Log/Vespar.log; do echo "--- $f"; cat "$f"; done >&2
  exit 1
}

# Two neighbouring UDP ports that nobody holds.
port1=""
for _ in $(seq 1 50); do
  p=$((20000 + RANDOM % 40000))
  if ! ss -Hulnp 2>/dev/null | grep -Eq ":($p|$((p + 1)))\b"; then port1=$p; break; fi
done
[ -n "$port1" ] || fail "no free UDP ports"
port2=$((port1 + 1))

set_key() { sed -i "s/^$2=[^\r]*/$2=$3/" "$1/Data/Vespar.ini"; }

# A program folder paired on 127.0.0.1 with nothing but the partner to watch, Full log level.
make_folder() {
  local dir=$1
  mkdir -p "$dir/Data" "$dir/Log"
  cp "$exe" "$dir/vespar"
  cp "$(dirname "$exe")/Data/Vespar.ini" "$dir/Data/Vespar.ini"
  for key in CPU_On Key_On DL_On UpEnable; do set_key "$dir" "$key" 1; done
  set_key "$dir" LogLevel 3
  set_key "$dir" IPAdd 127.0.0.1
  set_key "$dir" Port1 "$port1"
  set_key "$dir" Port2 "$port2"
}

wait_window() {
  local title=$1 id=""
  for _ in $(seq 1 "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits at most $3 tenths of a second for a line of log $1 that matches the pattern $2.
wait_log() {
  for _ in $(seq 1 "$3"); do
    grep -Eq -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# The master watches only its stop time, twelve hours from now, so it runs all along.
make_folder "$work/master"
set_key "$work/master" CMain 1
set_key "$work/master" Stop_On 2
set_key "$work/master" StopTime "1$(date -d '+12 hours' +%H%M)"
make_folder "$work/slave"
set_key "$work/slave" CMain 2
master_log="$work/master/Log/Vespar.log"
slave_log="$work/slave/Log/Vespar.log"

"$work/master/vespar" -InhibitShutdown -AllowMulti & master=$!; pids+=("$master")
"$work/slave/vespar" -InhibitShutdown -AllowMulti & slave=$!; pids+=("$slave")
master_win=$(wait_window "Vespar") || fail "no master window"
wait_window "Vespar Slave" >/dev/null || fail "no slave window"
echo "ok: master and slave started on UDP ports $port1 and $port2"

# 1. The slave hears the master: its Run entries carry "C".
wait_log "$slave_log" ",  Run      , +, Count: +[0-9]+ C"$'\r' 100 ||
  fail "the slave's log shows no datagram from the master"
echo "ok: the slave hears its master"

# 2. The master's Reset resets the slave too.
xdotool windowfocus --sync "$master_win" key alt+r
wait_log "$master_log" ",  Reset    ," 50 || fail "the master did not reset"
wait_log "$slave_log" ",  Reset    , Run       ," 50 || fail "the slave did not repeat the master's Reset"
echo "ok: the master's Reset repeated on the slave"

# 3. A second master on the same port: the port error names it; No leaves that program
#    running with its engine stopped.
make_folder "$work/second"
set_key "$work/second" Stop_On 2
set_key "$work/second" StopTime "1$(date -d '+12 hours' +%H%M)"
"$work/second/vespar" -InhibitShutdown -AllowMulti & second=$!; pids+=("$second")
box=$(wait_window "Vespar Port Error") || fail "a taken port gave no port error"
xdotool windowfocus --sync "$box" key alt+n
shown=""
for _ in $(seq 1 50); do
  if xdotool search --onlyvisible --pid "$second" --name "^Vespar\$" >/dev/null 2>&1; then shown=1; break; fi
  sleep 0.1
done
[ -n "$shown" ] || fail "after No the program showed no main window"
sleep 4
kill -0 "$second" 2>/dev/null || fail "No ended the program"
second_log="$work/second/Log/Vespar.log"
if grep -q ",  Enter    , Run       ," "$second_log"; then fail "the engine ran without its port"; fi
kill "$second"
echo "ok: a taken port asked whether to end, and No kept the engine stopped"

# 4. Without its master the slave reaches its own action after its shortened 6 s. First the
#    slave must hear the master again after the Reset.
heard_again=""
for _ in $(seq 1 100); do
  if awk 'r && / C\r$/ { f = 1 } /,  Reset    ,/ { r = 1 } END { exit !f }' "$slave_log"; then
    heard_again=1; break
  fi
  sleep 0.1
done
[ -n "$heard_again" ] || fail "the slave did not hear its master after the Reset"
xdotool windowfocus --sync "$master_win" key alt+e
wait "$master" || fail "the master did not exit cleanly"
box=$(wait_window "Vespar Slave Simulate Power Off" 300) || fail "the slave never reached its action"
grep -q ",  Enter    , Power Off ," "$slave_log" || fail "no shutdown entry in the slave's log"
xdotool windowfocus --sync "$box" key Return
wait "$slave" || fail "the slave did not end after its simulated action"
grep -q ",  Simulate , Power Off ," "$slave_log" || fail "no simulated action in the slave's log"
if grep -q "Ignored" "$slave_log"; then fail "the slave ignored its own master"; fi
echo "ok: the slave went off after its master; slave's log:"
cat "$slave_log"
echo "pairing: all passed"
