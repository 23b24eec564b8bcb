#!/usr/bin/env bash
# Sets up, builds and runs every test under Wine in a private prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD=${BUILD:-$root/build}
t0=$(date +%s)
"$root/tools/build.sh"
t1=$(date +%s)
. "$root/tools/wine-env.sh"
wine_prefix_make
trap wine_server_stop EXIT
wine_server_start
t2=$(date +%s)
echo "timing: setup+build $((t1-t0))s, wine prefix $((t2-t1))s" >&2
# ctest's summary stays the last line of the run.
( cd "$BUILD" && ctest --output-on-failure -j"${JOBS:-$(nproc)}" --timeout 300 "$@" )
