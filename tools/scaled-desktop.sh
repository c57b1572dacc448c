#!/usr/bin/env bash
# Runs commands (test programs under Wine) on a 2560 x 2048 Xvfb desktop in a
# Wine prefix of its own whose display scale is DPI (LogPixels, 144 for
# 150 %, 192 for 200 %), then stops the server and the prefix's wineserver.
# Commands are separated by a lone "+++"; it stops at the first that fails.
# tools/test.sh runs the cases at 150 % and 200 % this way (CTest's
# scale_144 and scale_192).
#   tools/scaled-desktop.sh 144 wine build/bin/unit_tests.exe --gtest_filter='ScaledWindows.*'
set -euo pipefail
source "$(dirname "$0")/common.sh"

dpi=$1
shift
# Tall enough for the windows at 200 %; Options alone is over 1000 pixels high.
desktop_size=2560x2048

trap snapora_stop_started EXIT
snapora_start_xvfb "${SNAPORA_DISPLAY:-90}"
snapora_wine_prefix "$build/wineprefix-dpi$dpi"
if [ ! -f "$WINEPREFIX/.snapora-dpi" ]; then
  # Read when a program starts: GetDpiForSystem and every window then report it.
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # The caret blinks once in a long while, so that a window with a focused
  # text box stands still long enough for tools/screenshots.sh to take it.
  wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d 600000 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.snapora-dpi"
fi
snapora_start_wineserver
echo "scaled-desktop: $dpi DPI, display $DISPLAY, Wine prefix $WINEPREFIX"

command=()
for arg in "$@" +++; do
  if [ "$arg" = +++ ]; then
    [ ${#command[@]} -eq 0 ] || "${command[@]}"
    command=()
  else
    command+=("$arg")
  fi
done
