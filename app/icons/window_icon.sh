#!/usr/bin/env bash
# Draws the window icon, a 48 x 48 XPM in the colours that the SVG names, from the SVG: the SVG
# is drawn at 10 times the size and each icon pixel takes the colour that covers most of its
# 10 x 10 block, so edges stay sharp and no blend of two colours appears. Run it after a
# change to the SVG; the packaging tests check that the XPM is what it makes.
#
#   app/icons/window_icon.sh [SVG [XPM]]      (default: the two files beside this script)
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
svg=${1:-$here/qovex-dravel.svg}
xpm=${2:-$here/qovex-dravel.xpm}
size=48
scale=10

mapfile -t palette < <(grep -o 'fill="#[0-9a-fA-F]\{6\}"' "$svg" | cut -d'"' -f2 |
  tr 'a-f' 'A-F' | sort -u)
# With the transparent colour, the icon must keep to 16 colours.
((${#palette[@]} >= 1 && ${#palette[@]} <= 15)) ||
  { echo "window_icon: $svg names ${#palette[@]} colours; 1 to 15 fit" >&2; exit 1; }

drawn=$(mktemp --suffix=.png)
trap 'rm -f "$drawn"' EXIT
rsvg-convert -w $((size * scale)) -h $((size * scale)) "$svg" -o "$drawn"

# ImageMagick's txt: lists "x,y: (...)  #RRGGBBAA  ..." for every pixel.
convert "$drawn" -depth 8 txt:- | awk -v size="$size" -v scale="$scale" \
  -v palette="${palette[*]}" '
function hex(h) { return index("0123456789ABCDEF", h) - 1 }
function byte(text, at) { return hex(substr(text, at, 1)) * 16 + hex(substr(text, at + 1, 1)) }
BEGIN {
  count = split(palette, colour, " ")
  codes = ".abcdefghijklmno"
  for (i = 1; i <= count; ++i) {
    red[i] = byte(colour[i], 2); green[i] = byte(colour[i], 4); blue[i] = byte(colour[i], 6)
  }
}
/^#/ { next }
{
  split($1, at, /[,:]/)
  pixel = toupper($3)
  # Index 0 is transparent: what is less than half covered shows the desktop behind.
  best = 0
  if (byte(pixel, 8) >= 128) {
    r = byte(pixel, 2); g = byte(pixel, 4); b = byte(pixel, 6); least = -1
    for (i = 1; i <= count; ++i) {
      d = (r - red[i]) ^ 2 + (g - green[i]) ^ 2 + (b - blue[i]) ^ 2
      if (least < 0 || d < least) { least = d; best = i }
    }
  }
  votes[int(at[2] / scale), int(at[1] / scale), best]++
}
END {
  print "/* XPM */"
  print "static const char* const qovex_dravel_icon[] = {"
  printf "\"%d %d %d 1\",\n", size, size, count + 1
  print "\". c None\","
  for (i = 1; i <= count; ++i) printf "\"%s c %s\",\n", substr(codes, i + 1, 1), colour[i]
  for (y = 0; y < size; ++y) {
    line = ""
    for (x = 0; x < size; ++x) {
      best = 0
      for (i = 1; i <= count; ++i) if (votes[y, x, i] > votes[y, x, best]) best = i
      line = line substr(codes, best + 1, 1)
    }
    printf "\"%s\"%s\n", line, (y < size - 1 ? "," : "")
  }
  print "};"
}' >"$xpm"
