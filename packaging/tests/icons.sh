#!/usr/bin/env bash
# The icons the build made from the SVG: a PNG of each size, sharp at each, and the window's
# 48 x 48 icon, which must be what app/icons/window_icon.sh draws from the same SVG; and the
# symbolic icon, one colour on a 16 x 16 grid.
# Usage: icons.sh ICON_FOLDER SVG XPM WINDOW_ICON_SCRIPT APP_ID SYMBOLIC_SVG
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
icons=$1 svg=$2 xpm=$3 window_icon=$4 id=$5 symbolic=$6
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

# The desktop recolours a symbolic icon as a whole: one fill colour, and nothing that would
# keep colours or shades of its own (strokes, gradients, opacity, embedded pictures).
check "the symbolic icon is named for the icon name" test "$(basename "$symbolic")" = "$id-symbolic.svg"
check "the symbolic icon is drawn on a 16 x 16 grid" grep -q 'viewBox="0 0 16 16"' "$symbolic"
colours=$(grep -o '\(fill\|stroke\|stop-color\|color\)="[^"]*"' "$symbolic" | sort -u)
check "the symbolic icon has one fill colour and no other ($(paste -sd' ' <<<"$colours"))" \
  test "$(grep -c . <<<"$colours")" = 1 -a "${colours%%=*}" = fill
check "... and no gradient, opacity or picture" \
  bash -c "! grep -qiE 'gradient|opacity|<image|filter' '$symbolic'"
rsvg-convert --width 16 --height 16 --output "$scratch/symbolic.png" "$symbolic"
# Edges on whole pixels: at 16 px every pixel is fully drawn or empty, but for the rims of the
# round and the slanted cut-outs (16 pixels); the same drawing half a pixel off the grid has
# 133 partly drawn.
partly_drawn=$(convert "$scratch/symbolic.png" -alpha extract -fx '(u>0.02&&u<0.98)?1:0' \
  -format '%[fx:round(mean*w*h)]' info:)
check "the symbolic icon is sharp at 16 px: $partly_drawn pixels partly drawn (at most 24)" \
  test "$partly_drawn" -le 24
finish
