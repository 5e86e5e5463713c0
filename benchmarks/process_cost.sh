# Sourced by the idle-cost benchmarks: what a process costs, read from /proc, and the pointer
# nudges that keep the program in Run while it is measured.

# Run time of every thread of process $1 in ms (the scheduler's se.sum_exec_runtime).
cpu_ms() {
  cat /proc/"$1"/task/*/sched 2>/dev/null |
    awk '/^se.sum_exec_runtime/ { n += $3 } END { printf "%.6f", n + 0 }'
}

# Voluntary + involuntary context switches of every thread of process $1: its wake-ups.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

# $1 seconds with a one-pixel pointer nudge, to and fro, every 3 s.
nudge_for() {
  local i
  for i in $(seq 1 $(($1 / 3))); do
    sleep 3
    if ((i % 2)); then xdotool mousemove_relative 1 0; else xdotool mousemove_relative -- -1 0; fi
  done
}
