#!/usr/bin/env bash
# Installs what is missing, builds, and starts Snapora under Wine. Uses
# $DISPLAY, or starts Xvfb and says so. Returns when Snapora ends.
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_build
trap snapora_stop_started EXIT
if [ -z "${DISPLAY:-}" ]; then
  snapora_start_xvfb "${SNAPORA_DISPLAY:-50}"
  echo "run: no DISPLAY; started Xvfb on $DISPLAY (take a look with tools/screenshot.sh)"
fi
snapora_wine_prefix "$build/wineprefix"
snapora_start_wineserver
echo "run: starting $build/bin/Snapora.exe"
cd "$build/bin"
wine Snapora.exe
