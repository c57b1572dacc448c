#!/usr/bin/env bash
# Builds and runs bench.exe (bench/) under Wine in its own Xvfb display and
# the test prefix, the same way test.sh runs the tests. Arguments go to
# bench.exe (e.g. --png-sweep).
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_build
trap snapora_stop_started EXIT
snapora_start_xvfb "${SNAPORA_DISPLAY:-90}"
snapora_wine_prefix "$build/wineprefix-test"
snapora_start_wineserver
echo "bench: display $DISPLAY, Wine prefix $WINEPREFIX"
wine "$build/bin/bench.exe" "$@"
