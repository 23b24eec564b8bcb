#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the window-test tools from Debian, and
# cross-builds static libpng 1.6, libjpeg-turbo (jpeg62 API) and GoogleTest for
# x86_64-w64-mingw32. zlib is Debian's static mingw build.
#
# The libraries land in $DEPS_CACHE/<key>/, the key hashing this script, the
# toolchain file and every source and compiler version, so a second run only
# checks the packages. The prefix is printed as the last line on stdout.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
TOOLCHAIN=$root/cmake/toolchain-mingw64.cmake
DEPS_CACHE=${DEPS_CACHE:-/var/cache/tempovia-deps}
SUITE=${SUITE:-bookworm}
JOBS=${JOBS:-$(nproc)}
export DEBIAN_FRONTEND=noninteractive
log() { echo "[setup-deps] $*" >&2; }

PKGS="gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      mingw-w64-x86-64-dev libz-mingw-w64-dev wine wine64 cmake ninja-build nasm
      dpkg-dev googletest python3 xvfb xauth imagemagick xdotool libosmesa6"

if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  uri=$(grep -rhsE '^URIs:.*/debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2; exit}')
  [ -n "$uri" ] || uri=$(grep -hsE '^deb .*/debian/? ' /etc/apt/sources.list | awk '{print $2; exit}')
  [ -n "$uri" ] || { log "no Debian deb entry found in the apt sources"; exit 1; }
  log "adding deb-src $uri $SUITE"
  cat > /etc/apt/sources.list.d/tempovia-src.sources <<SRC
Types: deb-src
URIs: $uri
Suites: $SUITE
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi

missing=0
for p in $PKGS; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing=1; done
stamp_src=/var/lib/apt/lists/.tempovia-src-updated
if [ $missing = 1 ] || [ ! -f $stamp_src ]; then
  apt-get update -qq >&2
  apt-get install -y -qq --no-install-recommends $PKGS >&2
  touch $stamp_src
fi
log "packages ready (${SECONDS}s)"

srcver() { apt-cache madison "$1" | awk -F' [|] ' -v s=" $SUITE/main Sources" \
             'index($3, s) { gsub(/ /, "", $2); print $2; exit }'; }
PNG_VER=$(srcver libpng1.6); JPEG_VER=$(srcver libjpeg-turbo)
[ -n "$PNG_VER" ] && [ -n "$JPEG_VER" ] || { log "no deb-src for $SUITE"; exit 1; }
ZLIB_VER=$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)
GCC_VER=$(x86_64-w64-mingw32-gcc-posix -dumpfullversion)
GTEST_VER=$(dpkg-query -W -f='${Version}' googletest)
KEY=$( { cat "$0" "$TOOLCHAIN"; echo "$PNG_VER $JPEG_VER $ZLIB_VER $GCC_VER $GTEST_VER"; } \
       | sha256sum | cut -c1-16)
PREFIX=$DEPS_CACHE/$KEY
if [ -f "$PREFIX/.stamp" ]; then log "cached: $PREFIX (${SECONDS}s)"; echo "$PREFIX"; exit 0; fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tempovia-deps.XXXXXX"); trap 'rm -rf "$work"' EXIT
cd "$work"
log "fetching libpng1.6 $PNG_VER, libjpeg-turbo $JPEG_VER"
apt-get source -qq -o APT::Sandbox::User=root "libpng1.6/$SUITE" "libjpeg-turbo/$SUITE" >&2
rm -rf "$PREFIX"
common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$PREFIX" -Wno-dev)

cmake -S libjpeg-turbo-*/ -B b-jpeg "${common[@]}" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF -DREQUIRE_SIMD=ON >&2
cmake --build b-jpeg -j "$JOBS" >&2 && cmake --install b-jpeg >&2

cmake -S libpng1.6-*/ -B b-png "${common[@]}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a >&2
cmake --build b-png -j "$JOBS" >&2 && cmake --install b-png >&2

cmake -S /usr/src/googletest -B b-gtest "${common[@]}" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >&2
cmake --build b-gtest -j "$JOBS" >&2 && cmake --install b-gtest >&2

printf 'libpng1.6=%s\nlibjpeg-turbo=%s\nlibz-mingw-w64-dev=%s\ngcc=%s\ngoogletest=%s\n' \
  "$PNG_VER" "$JPEG_VER" "$ZLIB_VER" "$GCC_VER" "$GTEST_VER" > "$PREFIX/.stamp"
log "built: $PREFIX (${SECONDS}s)"; echo "$PREFIX"
