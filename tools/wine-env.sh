# Sourced by the build and run scripts: a private Wine prefix inside the build
# tree, headless through Wine's null graphics driver, with no audio devices.
# Every wineserver call is scoped to this prefix; other Wine servers may run.
: "${BUILD:?BUILD must name the build folder}"
export WINEPREFIX=${WINEPREFIX:-$BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=d"}

wine_prefix_make() {
  if [ ! -f "$WINEPREFIX/.tempovia-ready" ]; then
    rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
    DISPLAY= wine wineboot -i </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tempovia-ready"
  fi
}

# The prefix of a manual run, made once; unlike the test prefix it draws
# through the X11 driver, on the display the run has.
wine_run_prefix_make() {
  if [ ! -f "$WINEPREFIX/.tempovia-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tempovia-ready"
  fi
}

# The server must not hold a pipe that ctest or CI reads, or they wait forever.
wine_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1 || true
  DISPLAY= wine wineboot -i </dev/null >/dev/null 2>&1 || true
}

wine_server_stop() { wineserver -k </dev/null >/dev/null 2>&1 || true; }

# Without $DISPLAY: a private virtual display (Xvfb, 1024x768, a free display
# number) whose display file and log go in the folder $1. Exports DISPLAY and
# sets xvfb_pid for virtual_display_stop.
virtual_display_start() {
  [ -n "${DISPLAY:-}" ] && return 0
  exec 3>"$1/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$1/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$1/display" ] && break; sleep 0.05; done
  exec 3>&-
  [ -s "$1/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(head -n 1 "$1/display")
}

virtual_display_stop() {
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
