#!/usr/bin/env bash
# Start-up benchmark: settings.exe and tempovia.exe from a program folder with a
# generated tempovia.ini of 6 and of 30 clocks, each figure beside a trivial
# program started the same way, and the number of times tempovia.ini is
# opened during each start-up (counted through Wine's file trace). Runs in its
# own Wine prefix so that tests may run meanwhile.
#   bash tools/bench-startup.sh [runs, default 5] [clock counts, default "6 30"]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD=${BUILD:-$root/build}
runs=${1:-5}
counts=${2:-"6 30"}
TARGETS="startup_bench" "$root/tools/build.sh" >/dev/null
export WINEPREFIX=$BUILD/benchprefix
. "$root/tools/wine-env.sh"
wine_prefix_make
trap wine_server_stop EXIT
wine_server_start
bench=$BUILD/tools/startup_bench.exe

# Opens of tempovia.ini between the benchmark's two marks.
count_opens() {
  WINEDEBUG=trace+file wine "$bench" count "$1" "$2" 2>&1 >/dev/null </dev/null |
    sed -n '/bench-count-begin/,/bench-count-end/p' |
    grep -ci 'NtCreateFile.*tempovia\.ini' || true
}

for n in $counts; do
  wine "$bench" time "$n" "$runs" </dev/null
  printf '  %-34s %8s          trivial %6s\n' "tempovia.ini opened by settings.exe" \
    "$(count_opens "$n" settings)" "$(count_opens "$n" trivial-dialog)"
  printf '  %-34s %8s          trivial %6s\n' "tempovia.ini opened by tempovia.exe" \
    "$(count_opens "$n" tempovia)" "$(count_opens "$n" trivial-main)"
done
