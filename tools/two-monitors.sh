#!/usr/bin/env bash
# Runs a command (a test program under Wine) on an X.Org server with two
# monitors, in a Wine prefix of its own without a virtual desktop, then stops
# the server and the prefix's wineserver. tools/test.sh runs the end-to-end
# cases that need two monitors this way (CTest's e2e_monitors).
#   tools/two-monitors.sh wine build/bin/e2e_tests.exe --gtest_filter='TwoMonitors.*'
set -euo pipefail
source "$(dirname "$0")/common.sh"

trap snapora_stop_started EXIT
snapora_start_two_monitors "${SNAPORA_DISPLAY:-90}"
snapora_wine_prefix "$build/wineprefix-monitors" monitors
snapora_start_wineserver monitors
echo "two-monitors: display $DISPLAY, Wine prefix $WINEPREFIX"
"$@"
