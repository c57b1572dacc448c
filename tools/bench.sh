#!/usr/bin/env bash
# Builds and runs bench.exe (bench/) under Wine in its own Xvfb display and
# the test prefix, the same way test.sh runs the tests. Arguments go to
# bench.exe (e.g. --png-sweep).
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_test_session
echo "bench: display $DISPLAY, Wine prefix $WINEPREFIX"
wine "$build/bin/bench.exe" "$@"
