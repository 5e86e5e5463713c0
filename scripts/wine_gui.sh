# Sourced after xvfb_rig.sh by the scripts that run the real vespar.exe (path in $exe) under
# Wine in Xvfb: a Wine prefix of its own beside the build's (whose server runs headless for the
# unit tests), made once and kept, whose server lives only as long as the caller's display.
export WINEPREFIX="${VESPAR_WINE_GUI_PREFIX:-$(dirname "$(dirname "$exe")")/wineprefix-gui}"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Should a system action ever be reached, it is written here instead of being taken.
export VESPAR_POWER_LOG="$work/power.log"
mkdir -p "$WINEPREFIX"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.vespar-gui-ready" ]; then
    env -u DISPLAY wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager Wine places its windows itself; keys then reach them.
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      </dev/null >/dev/null 2>&1
    env -u DISPLAY wineserver -w
    touch "$WINEPREFIX/.vespar-gui-ready"
  fi
) 9>"$WINEPREFIX/.vespar-gui-lock"
wineserver -k 2>/dev/null || true  # a server keeps the display it started with
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
