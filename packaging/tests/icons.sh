#!/usr/bin/env bash
# The icons the build made from the SVG: a PNG of each size, sharp at each, and the window's
# 48 x 48 icon, which must be what app/icons/window_icon.sh draws from the same SVG.
# Usage: icons.sh ICON_FOLDER SVG XPM WINDOW_ICON_SCRIPT APP_ID
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
icons=$1 svg=$2 xpm=$3 window_icon=$4 id=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The colours the SVG names, and no colour, as a picture for ImageMagick's -remap.
mapfile -t colours < <(grep -o 'fill="#[0-9a-fA-F]\{6\}"' "$svg" | cut -d'"' -f2 | sort -u)
convert "${colours[@]/#/xc:}" xc:none +append "$scratch/palette.png"

# How many pixels are blends of the SVG's colours rather than one of them: the anti-aliased
# rims of round shapes, and any edge that falls between two pixels. Sharp edges keep them to
# a few times the side of the icon; a blurred icon has them all over (56 times the side, for
# the 48 px icon scaled up to 256 px).
blends() {
  convert "$1" -background none +dither -remap "$scratch/palette.png" "$scratch/flat.png"
  compare -metric AE -fuzz 3% "$1" "$scratch/flat.png" null: 2>&1
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# The design's edges lie on whole pixels at every size but 22 and 24, where they fall between.
for size in 16 22 24 32 48 64 128 256; do
  icon="$icons/${size}x$size/$id.png"
  check "the $size px icon is a PNG of that size with transparency" \
    test "$(identify -format '%m %w %h %A' "$icon" 2>/dev/null)" = "PNG $size $size True"
  limit=$((4 * size))
  ((size == 22 || size == 24)) && limit=$((12 * size))
  count=$(blends "$icon")
  check "the $size px icon is sharp: $count pixels blend (fewer than $limit)" below "$count" "$limit"
done
# Scaled up by whole pixels, the 48 px icon would make a blocky 256 px one.
convert "$icons/48x48/$id.png" -filter point -resize 256x256 "$scratch/blocks.png"
difference=$(compare -metric RMSE "$scratch/blocks.png" "$icons/256x256/$id.png" null: 2>&1 |
  sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p')
check "the 256 px icon is drawn at its size, not the 48 px one scaled up ($difference)" \
  below 0.02 "$difference"

"$window_icon" "$svg" "$scratch/window.xpm"
check "the window icon is what window_icon.sh draws from the SVG" \
  test "$(compare -metric AE "$scratch/window.xpm" "$xpm" null: 2>&1)" = 0
check "the window icon is 48 x 48" test "$(identify -format '%w %h' "$xpm")" = "48 48"
check "the window icon has 16 colours at most" test "$(sed -n '3s/^"[0-9]* [0-9]* \([0-9]*\) .*/\1/p' "$xpm")" -le 16
finish
