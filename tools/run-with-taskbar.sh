#!/usr/bin/env bash
# Starts the suite as tools/run.sh does, but with the stand-in taskbar of the
# tests (Shell_TrayWnd -> TrayNotifyWnd -> TrayClockWClass, built as
# $BUILD/tests/standin_taskbar.exe) running first in the same Wine prefix and
# on the same display, so that the main program's hook takes a taskbar clock
# over and the taskbar clock path runs as it does under Explorer.
#
# Without $DISPLAY a private virtual display (Xvfb, 1024x768, a free display
# number) is made; it, the stand-in and the prefix's Wine server end when
# tempovia.exe does. The display and prefix are printed, so that a second shell
# can take screenshots (import -window root shot.png), start settings.exe from
# $BUILD/dist, or end the program with tempovia.exe /exit.
#
# The stand-in's taskbar spans the bottom 40 pixels; its notification area
# keeps the clock at x=884 and does not move it left as it grows, so clocks
# wider than 140 pixels run off the right edge of the screen. The stand-in logs
# every block the clock receives to $BUILD/standin-taskbar.log.
#
#   TZ=Australia/Sydney bash tools/run-with-taskbar.sh [tempovia.exe arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD=${BUILD:-$root/build}
export WINEPREFIX=${WINEPREFIX:-$BUILD/wineprefix-run}
. "$root/tools/wine-env.sh"

"$root/tools/build.sh"
standin=$BUILD/tests/standin_taskbar.exe
[ -f "$standin" ] || { echo "missing $standin (build the tests first)" >&2; exit 1; }

xvfb_pid=
tmp=$(mktemp -d)
cleanup() {
  wine_server_stop
  virtual_display_stop
  rm -rf "$tmp"
}
trap cleanup EXIT

virtual_display_start "$tmp" || exit 1
echo "display: $DISPLAY  prefix: $WINEPREFIX" >&2

wine_run_prefix_make
# A server with closed streams: Wine's background services must not hold
# this script's output open.
wineserver -p </dev/null >/dev/null 2>&1 || true

log=$BUILD/standin-taskbar.log
rm -f "$log"
wine "$standin" "$(winepath -w "$log")" 86400 </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 100); do [ -s "$log" ] && break; sleep 0.1; done
[ -s "$log" ] || { echo "the stand-in taskbar did not start" >&2; exit 1; }

# run.sh lays out $BUILD/dist (with a fresh tempovia.ini) and starts the
# program on this display; the stand-in ends with this script's Wine server.
status=0
bash "$root/tools/run.sh" "$@" || status=$?
exit $status
