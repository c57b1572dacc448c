#!/usr/bin/env bash
# Retakes the README's pictures of Snapora's windows from the real program:
# docs/main-window.png, docs/picture-window.png (after a Full Screen capture
# by Ctrl+1), docs/picture-marks.png (the same with the tool strip open and
# marks drawn), docs/options-window.png ("Options" clicked on the main window)
# and docs/suspend-panel.png ("Suspend" clicked). Each is cut to its window.
# Runs in its own Xvfb display and Wine prefix; rerun it after a change of look.
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_build
cmake --build "$build" -j"$(nproc)" --target screenshot_tour
shots=$(mktemp -d)
trap 'snapora_stop_started; rm -rf "$shots"' EXIT
snapora_start_xvfb "${SNAPORA_DISPLAY:-95}"
snapora_wine_prefix "$build/wineprefix-screenshots"
snapora_start_wineserver
echo "screenshots: display $DISPLAY, Wine prefix $WINEPREFIX"
wine "$build/bin/screenshot_tour.exe" "$(winepath -w "$shots")"

mkdir -p "$root/docs"
for name in main-window picture-window picture-marks options-window suspend-panel; do
  # Without metadata or time chunks, an unchanged window gives an unchanged file.
  convert "$shots/$name.ppm" -strip -define png:exclude-chunks=date,time "$root/docs/$name.png"
  echo "screenshots: docs/$name.png ($(identify -format '%w x %h' "$root/docs/$name.png"))"
done
