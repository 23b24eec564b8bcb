#!/usr/bin/env bash
# Start/exit cycles of tempovia.exe against the stand-in taskbar of the tests,
# some with a hard end (SIGKILL of the program's Wine process, as a crash or
# Task Manager ends it) between them. Each cycle starts the program, waits for
# its blocks to reach the taskbar clock, then ends it with /exit, or every
# <hard-every>th cycle kills it. Counted from the stand-in's log: the releases
# (WM_COMMAND 32777) of each /exit, the starts whose blocks never came, the
# /exit exit codes, and whether the stand-in is still alive at the end.
# Runs in its own Wine prefix and a copy of the program folder, both under
# $BUILD, so that tests may run meanwhile.
#   bash tools/cycle-taskbar.sh [cycles, default 200] [hard-every, default 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD=${BUILD:-$root/build}
cycles=${1:-200}
hard_every=${2:-5}
"$root/tools/build.sh" >/dev/null
export WINEPREFIX=$BUILD/cycleprefix
. "$root/tools/wine-env.sh"
wine_prefix_make
trap wine_server_stop EXIT
wine_server_start

work=$BUILD/cycle-taskbar
rm -rf "$work"; mkdir -p "$work"
cp -r "$BUILD/bin/." "$work/"
log=$work/standin.log
wine "$BUILD/tests/standin_taskbar.exe" "$(winepath -w "$log")" 86400 </dev/null >/dev/null 2>&1 &
standin=$!
for _ in $(seq 1 100); do [ -s "$log" ] && break; sleep 0.1; done
[ -s "$log" ] || { echo "the stand-in taskbar did not start" >&2; exit 1; }

lines() { wc -l <"$log"; }
# Waits up to $2 seconds for a line beginning with $3 after line $1.
wait_line() {
  local from=$1 secs=$2 text=$3
  for _ in $(seq 1 $((secs * 10))); do
    tail -n +"$((from + 1))" "$log" | grep -q "^$text" && return 0
    sleep 0.1
  done
  return 1
}

exits=0 hard=0 once=0 more=0 none=0 bad_code=0 no_blocks=0
for i in $(seq 1 "$cycles"); do
  start=$(lines)
  ( cd "$work" && exec wine tempovia.exe </dev/null >/dev/null 2>&1 ) &
  program=$!
  wait_line "$start" 20 "copydata 1 " || no_blocks=$((no_blocks + 1))
  if [ $((i % hard_every)) -eq 0 ]; then
    kill -9 "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    hard=$((hard + 1))
    continue
  fi
  before=$(lines)
  code=0
  ( cd "$work" && exec wine tempovia.exe /exit </dev/null >/dev/null 2>&1 ) || code=$?
  wait "$program" 2>/dev/null || true
  [ "$code" -eq 0 ] || bad_code=$((bad_code + 1))
  # The release may follow the program's end by a moment (a busy taskbar).
  wait_line "$before" 5 "wininichange own" || true
  sleep 0.3
  n=$(tail -n +"$((before + 1))" "$log" | grep -c '^command 32777' || true)
  exits=$((exits + 1))
  if [ "$n" -eq 1 ]; then once=$((once + 1)); elif [ "$n" -eq 0 ]; then none=$((none + 1)); else more=$((more + 1)); fi
done
alive=no
kill -0 "$standin" 2>/dev/null && ! grep -q '^end' "$log" && alive=yes
echo "cycles $cycles: /exit $exits (one release $once, more $more, none $none, exit code not 0 $bad_code)," \
     "hard ends $hard, starts without blocks $no_blocks, stand-in alive $alive"
