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

# The server must not hold a pipe that ctest or CI reads, or they wait forever.
wine_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1 || true
  DISPLAY= wine wineboot -i </dev/null >/dev/null 2>&1 || true
}

wine_server_stop() { wineserver -k </dev/null >/dev/null 2>&1 || true; }
