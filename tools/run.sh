#!/usr/bin/env bash
# Sets up and builds everything (tools/build.sh), lays out the program folder
# that users get in $BUILD/dist (the programs, res_en.dll, default.ini, the
# data files, skins) and starts tempovia.exe from it under Wine. Arguments go
# to tempovia.exe (for example /nh, or /exit from a second shell).
#
# Without $DISPLAY the program runs on a private virtual display (Xvfb on a
# free display number), which is torn down with the program's Wine server.
# The Wine prefix is $BUILD/wineprefix-run: unlike the test prefix it draws
# through the X11 driver, so windows, desktop clocks and the tray are real.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD=${BUILD:-$root/build}
"$root/tools/build.sh"

dist=$BUILD/dist
rm -rf "$dist"
mkdir -p "$dist"
for f in "$BUILD"/bin/*; do
  case "$f" in
    *.exe|*.dll|*.ini|*.txt|*.wav|*.png|*.jpg) cp "$f" "$dist/" ;;
  esac
done
[ -d "$BUILD/bin/skins" ] && cp -r "$BUILD/bin/skins" "$dist/"
rm -f "$dist/tempovia.ini"   # a fresh user profile every run
echo "program folder: $dist" >&2

export WINEPREFIX=${WINEPREFIX:-$BUILD/wineprefix-run}
. "$root/tools/wine-env.sh"

xvfb_pid=
tmp=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    wine_server_stop
    virtual_display_stop
  fi
  if [ -n "$tmp" ]; then rm -rf "$tmp"; fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  tmp=$(mktemp -d)
  virtual_display_start "$tmp" || exit 1
  echo "virtual display: $DISPLAY" >&2
fi

wine_run_prefix_make

cd "$dist"
status=0
wine "$dist/tempovia.exe" "$@" || status=$?
echo "tempovia.exe ended with exit code $status" >&2
exit $status
