#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit and end-to-end)
# in a private Xvfb display and Wine prefix. Ends with CTest's summary.
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_build
trap snapora_stop_started EXIT
snapora_start_xvfb "${SNAPORA_DISPLAY:-90}"
snapora_wine_prefix "$build/wineprefix-test"
snapora_start_wineserver
echo "test: display $DISPLAY, Wine prefix $WINEPREFIX"
cd "$build"
ctest --output-on-failure "$@"
