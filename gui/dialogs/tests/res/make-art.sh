#!/usr/bin/env bash
# Draws the test dialog's art: a window icon (16 and 32 pixels) and the two
# 9 x 5 sort arrows (ascending, descending) on a magenta mask colour.
set -euo pipefail
cd "$(dirname "$0")"
for s in 16 32; do
  convert -size ${s}x${s} xc:none -fill '#2a6fb0' -draw "roundrectangle 1,1 $((s-2)),$((s-2)) 3,3" \
          -fill white -draw "rectangle $((s/4)),$((s/3)) $((s*3/4)),$((s/3+s/8))" \
          -draw "rectangle $((s/4)),$((s*2/3-s/8)) $((s*3/4)),$((s*2/3))" icon$s.png
done
convert icon16.png icon32.png test.ico
rm icon16.png icon32.png
convert -size 18x5 xc:magenta -fill black \
        -draw "polygon 4,0 0,4 8,4" -draw "polygon 9,0 17,0 13,4" -type truecolor BMP3:arrows.bmp
