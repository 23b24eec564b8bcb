#!/usr/bin/env bash
# Makes the globe's two textures in data/:
#   map.jpg    the earth, NASA Visible Earth "Blue Marble" (not copyrighted), as
#              Debian's xplanet-images ships it (2048 x 1024), re-encoded
#              baseline at quality 85 without metadata;
#   clouds.jpg our own greyscale cloud layer, fractal noise from a fixed seed,
#              so that no image of unclear origin is shipped.
# Needs ImageMagick's convert. The earth image is taken from
# /usr/share/xplanet/images/earth.jpg, or from the xplanet-images package
# fetched with apt-get download when that file is not installed.
#   data/tools/gen_map.sh [earth.jpg]
set -euo pipefail
data=$(cd "$(dirname "$0")/.." && pwd)
src=${1:-/usr/share/xplanet/images/earth.jpg}
work=$(mktemp -d "${TMPDIR:-/tmp}/gen_map.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [ ! -f "$src" ]; then
  (cd "$work" && apt-get download xplanet-images >/dev/null && dpkg-deb -x xplanet-images_*.deb x)
  src=$work/x/usr/share/xplanet/images/earth.jpg
fi

convert "$src" -strip -resize '2048x1024!' -interlace none -sampling-factor 2x2 \
  -quality 85 "$data/map.jpg"

# Two octaves of plasma noise, blurred and thresholded into patches of cloud
# with clear sky between them. The left half is mirrored into the right so
# that the seam at longitude 180 does not show on the globe.
convert -seed 20261209 -size 512x512 plasma:grey50-grey50 -colorspace gray \
  -blur 0x6 "$work/coarse.png"
convert -seed 977 -size 512x512 plasma:grey50-grey50 -colorspace gray \
  -blur 0x1.5 "$work/fine.png"
convert "$work/coarse.png" "$work/fine.png" -compose blend -define compose:args=65,35 \
  -composite -level 46%,72% "$work/half.png"
convert "$work/half.png" \( "$work/half.png" -flop \) +append -resize '2048x1024!' \
  -colorspace gray -type grayscale -strip -interlace none -quality 80 "$data/clouds.jpg"

identify "$data/map.jpg" "$data/clouds.jpg"
