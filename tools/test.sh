#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit and end-to-end)
# in a private Xvfb display and Wine prefix. Ends with CTest's summary.
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_test_session
echo "test: display $DISPLAY, Wine prefix $WINEPREFIX"
cd "$build"
ctest --output-on-failure "$@"
