#!/usr/bin/env bash
# Renders the skin artwork from the SVG sources in this folder into the files
# that resources/Snapora.rc embeds. Needs rsvg-convert (Debian: librsvg2-bin)
# and ImageMagick. The rendered files are committed, so a build needs neither.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/..
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Skin pictures: 24-bit Windows bitmaps.
for name in header_left header_middle header_right footer_left footer_middle footer_right \
  edge_left edge_inner edge_right body_picture title_buttons \
  toolbar_left toolbar_middle toolbar_right options_background; do
  rsvg-convert "$here/$name.svg" -o "$tmp/$name.png"
  convert "$tmp/$name.png" -background white -alpha remove -alpha off -type TrueColor "BMP3:$out/$name.bmp"
done

# Button pictures: 32 x 32 PNG with alpha.
for name in capture options suspend home help \
  save zoomin zoomout original cutter restore copy cancel marks \
  options_save reset browse; do
  rsvg-convert -w 32 -h 32 "$here/icon_$name.svg" -o "$out/icon_$name.png"
done

# The suspend panel: its bar as a 267 x 41 PNG whose alpha is all or nothing
# (the panel shows pure white as see-through, so a soft edge would leave a
# white fringe), and its button pictures, 24 x 24 PNG with alpha (22 x 22 for
# the selected region).
rsvg-convert "$here/panel_background.svg" -o "$tmp/panel_background.png"
convert "$tmp/panel_background.png" -channel A -threshold 50% +channel "PNG32:$out/panel_background.png"
for name in fullscreen activewindow object region fixedregion realtime setting quit; do
  rsvg-convert "$here/panel_$name.svg" -o "$out/panel_$name.png"
done

# The pictures drawn again for 150 % and 200 % display scales, which the
# program picks by the scale nearest to its monitor's: PNG, a fraction of a
# bitmap's bytes (the skin pictures without alpha, as their bitmaps are).
mkdir -p "$out/scaled"
for percent in 150 200; do
  zoom=$(awk "BEGIN { print $percent / 100 }")
  for name in header_left header_middle header_right footer_left footer_middle footer_right \
    edge_left edge_inner edge_right body_picture title_buttons; do
    rsvg-convert -z "$zoom" "$here/$name.svg" -o "$tmp/$name.png"
    convert "$tmp/$name.png" -background white -alpha remove -alpha off "PNG24:$out/scaled/${name}_$percent.png"
  done
  for name in capture options suspend home help save zoomin zoomout original cutter restore copy cancel \
    options_save reset browse; do
    side=$((32 * percent / 100))
    rsvg-convert -w "$side" -h "$side" "$here/icon_$name.svg" -o "$out/scaled/icon_${name}_$percent.png"
  done
  rsvg-convert -z "$zoom" "$here/panel_background.svg" -o "$tmp/panel_background.png"
  convert "$tmp/panel_background.png" -channel A -threshold 50% +channel "PNG32:$out/scaled/panel_background_$percent.png"
  for name in fullscreen activewindow object region fixedregion realtime setting quit; do
    rsvg-convert -z "$zoom" "$here/panel_$name.svg" -o "$out/scaled/panel_${name}_$percent.png"
  done
done

# The application icon, every standard size from 16 to 256 in one file (the
# 256 one PNG-compressed, as Windows expects). At 16 pixels the large drawing
# blurs into a smudge, so that size has its own drawing on the pixel grid.
sizes=(16 20 24 32 40 48 64 96 128 256)
for s in "${sizes[@]}"; do
  source=$here/app_icon.svg
  [ "$s" = 16 ] && source=$here/app_icon_16.svg
  rsvg-convert -w "$s" -h "$s" "$source" -o "$tmp/app_$s.png"
done
convert $(for s in "${sizes[@]}"; do echo "$tmp/app_$s.png"; done) "$out/Snapora.ico"
