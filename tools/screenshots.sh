#!/usr/bin/env bash
# Retakes the README's pictures of Snapora's windows from the real program:
# docs/main-window.png, docs/picture-window.png (after a Full Screen capture
# by Ctrl+1), docs/picture-marks.png (the same with the tool strip open and
# marks drawn), docs/options-window.png ("Options" clicked on the main window),
# docs/more-options-window.png ("More…" in Options) and docs/suspend-panel.png
# ("Suspend" clicked). Each is cut to its window.
# docs/region-two-monitors.png is the region screen over two monitors, taken
# on the X.Org server of tools/two-monitors.sh. docs/*-200.png are the main
# window, Options, More Options and the suspend panel at 200 %, taken on the
# 192-DPI desktop of tools/scaled-desktop.sh.
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
# A blinking caret would keep a window with a focused text box from ever
# standing still long enough to be taken: in this prefix it blinks once in
# a long while.
wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d 600000 /f >/dev/null 2>&1
echo "screenshots: display $DISPLAY, Wine prefix $WINEPREFIX"
wine "$build/bin/screenshot_tour.exe" "$(winepath -w "$shots")"
SNAPORA_DISPLAY=$((${DISPLAY#:} + 1)) "$root/tools/two-monitors.sh" \
  wine "$build/bin/screenshot_tour.exe" "$(winepath -w "$shots")" two-monitors
# The same windows at 200 %, on a desktop of 192 DPI.
mkdir -p "$shots/200"
SNAPORA_DISPLAY=$((${DISPLAY#:} + 1)) "$root/tools/scaled-desktop.sh" 192 \
  wine "$build/bin/screenshot_tour.exe" "$(winepath -w "$shots/200")"

mkdir -p "$root/docs"
for name in main-window picture-window picture-marks options-window more-options-window suspend-panel region-two-monitors; do
  # Without metadata or time chunks, an unchanged window gives an unchanged file.
  convert "$shots/$name.ppm" -strip -define png:exclude-chunks=date,time "$root/docs/$name.png"
  echo "screenshots: docs/$name.png ($(identify -format '%w x %h' "$root/docs/$name.png"))"
done
for name in main-window options-window more-options-window suspend-panel; do
  convert "$shots/200/$name.ppm" -strip -define png:exclude-chunks=date,time "$root/docs/$name-200.png"
  echo "screenshots: docs/$name-200.png ($(identify -format '%w x %h' "$root/docs/$name-200.png"))"
done
