#!/usr/bin/env bash
# Sets up the toolchain and libraries (cached) and builds everything into $BUILD.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$root/build}
DEPS=$("$root/tools/setup-deps.sh" | tail -n 1)
cmake -S "$root" -B "$BUILD" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_PREFIX_PATH="$DEPS" -DCMAKE_BUILD_TYPE=Release >/dev/null
# TARGETS (optional) limits the build to some targets.
cmake --build "$BUILD" -j"${JOBS:-$(nproc)}" ${TARGETS:+--target $TARGETS}
