# Shared by the scripts that run the real program under Xvfb; source it after setting $exe.
# It gives the script a work folder, a display of its own and an environment in which no
# program it starts can reach a real power action or the network.
work=$(mktemp -d)
pids=()
cleanup() {
  local i  # the last started first, so that the X server goes last; reaped without a notice
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -9 "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# A script's hook that prints what helps to understand a failure (logs), if it defines one.
fail() {
  echo "FAIL: $*" >&2
  if declare -F on_fail >/dev/null; then on_fail >&2; fi
  echo "the X server's last lines:" >&2
  tail -n 5 "$work/xvfb.log" >&2 || true
  exit 1
}

# Xvfb takes the first free display number and writes it when ready, so scripts running side
# by side never share a display. -noreset: by default the server resets whenever its last
# client leaves (after the readiness probe below, between two program runs), rebuilding its
# keymap with a child process each time, and a program that connects meanwhile may be refused.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=("$!")
disown "$!"  # killed at the end without a job notice
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
# Under load the server may still refuse its first clients for a moment: wait until it answers.
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"
export XDG_RUNTIME_DIR="$work/run"   # the instance lock of this script only
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
# Every start also carries -InhibitShutdown; should one ever reach a real action, its logind
# calls go to a bus that does not exist.
export VESPAR_LOGIND_BUS="unix:path=$work/no-such-bus"
# The daily update check asks a port on this machine that nobody serves, never the network.
export VESPAR_WEB_BASE="http://127.0.0.1:9/"

# A fresh program folder laid out like build/vespar/.
make_folder() {
  mkdir -p "$1/Data" "$1/Log"
  cp "$exe" "$1/vespar"
  cp "$(dirname "$exe")/Data/Vespar.ini" "$1/Data/Vespar.ini"
}

# Sets key $2 to $3 in the configuration of program folder $1.
set_key() { sed -i "s/^$2=[^\r]*/$2=$3/" "$1/Data/Vespar.ini"; }

# Waits for a window whose title is exactly $1, at most $2 tenths of a second (default 100);
# prints its id.
wait_window() {
  local id=""
  for _ in $(seq 1 "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

# Waits at most $3 tenths of a second for a line of file $1 that matches the pattern $2.
wait_log() {
  for _ in $(seq 1 "$3"); do
    grep -Eq -- "$2" "$1" 2>/dev/null && return 0
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
