#!/usr/bin/env bash
# Pairs two real programs on 127.0.0.1 under Xvfb, each from its own program folder: the
# slave hears its master, repeats the master's Reset, and reaches its own simulated action
# once the master has gone; a third program on the master's port is told the port is taken. Usage: pairing_test.sh path/to/vespar
set -euo pipefail
exe=$(readlink -f "$1")

source "$(dirname "$0")/xvfb_rig.sh"
on_fail() { for f in "$work"/*/Log/Vespar.log; do echo "--- $f"; cat "$f"; done; }

# Two neighbouring UDP ports that nobody holds.
port1=""
for _ in $(seq 1 50); do
  p=$((20000 + RANDOM % 40000))
  if ! ss -Hulnp 2>/dev/null | grep -Eq ":($p|$((p + 1)))\b"; then port1=$p; break; fi
done
[ -n "$port1" ] || fail "no free UDP ports"
port2=$((port1 + 1))

# A program folder paired on 127.0.0.1 with nothing but the partner to watch, Full log level.
pair_folder() {
  local dir=$1
  make_folder "$dir"
  for key in CPU_On Key_On DL_On UpEnable; do set_key "$dir" "$key" 1; done
  set_key "$dir" LogLevel 3
  set_key "$dir" IPAdd 127.0.0.1
  set_key "$dir" Port1 "$port1"
  set_key "$dir" Port2 "$port2"
}

# The master watches only its stop time, twelve hours from now, so it runs all along.
pair_folder "$work/master"
set_key "$work/master" CMain 1
set_key "$work/master" Stop_On 2
set_key "$work/master" StopTime "1$(date -d '+12 hours' +%H%M)"
pair_folder "$work/slave"
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
pair_folder "$work/second"
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
