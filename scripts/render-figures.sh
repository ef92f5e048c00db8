#!/usr/bin/env bash
# Renders the README's figures into docs/ from generated datasets: the field
# with lines, tapered bands, glyphs, the grey-level texture and the window
# with its panel. Builds first (installing what is missing); starts an Xvfb
# of its own when no display is set.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
root=$PWD
bin=$root/build
out=$root/docs
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true' EXIT

if [ -z "${DISPLAY:-}" ]; then
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  sleep 1
fi

# The viewer finds its shaders and arrow image beside itself.
cd "$work"
flowgen() { "$bin/quillmere-flowgen" "$@" >/dev/null; }
# Graphics area 560 x 400 beside the panel's 240 columns.
size=800x400
shoot() {
  local name=$1
  shift
  echo "docs/$name.png: quillmere -geometry $size $*"
  "$bin/quillmere" -geometry "$size" "$@" -screenshot "$out/$name.png" >/dev/null
}

flowgen --field cylinder --nx 256 --ny 128 --x0 0 --x1 4 --y0 0 --y1 2 -o cylinder
flowgen --field gyre --nx 256 --ny 128 --x0 0 --x1 2 --y0 0 --y1 1 -o gyre
flowgen --field vortex --nx 128 --ny 128 --x0 -1 --x1 1 --y0 -1 --y1 1 -o vortex
flowgen --field cavity --nx 128 --ny 128 --x0 0 --x1 0.1 --y0 0 --y1 0.1 -o cavity

shoot lines -datafile cylinder.gri -fitToData 1 -colormap velocity=viridis -showStreamlines 1 \
  -lineColor 1 -legendValues 1 -showAxes 1 -statusLine 0
shoot tapered -datafile gyre.gri -fitToData 1 -colormap velocity=magma -showStreamlines 1 \
  -streamlineMode 2 -legendValues 1 -statusLine 0
shoot glyphs -datafile vortex.gri -fitToData 1 -colormap velocity=cividis -showStreamlines 1 \
  -streamlineMode 3 -dsep 0.15 -dtest 0.075 -glyphSpacing 0.12 -lineColor 1 -legendValues 1 -statusLine 0
shoot texture -datafile cavity.gri -fitToData 1 -dsep 0.0015 -dtest 0.00075 -showStreamlines 1 \
  -streamlineMode 4 -texturePeriod 30 -statusLine 0
shoot panel -datafile gyre.gri -fitToData 1 -colormap velocity=cool-warm -showStreamlines 1 \
  -lineColor 1 -screenshotPanel 1
du -ch "$out"/*.png | tail -1
