#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit and end-to-end)
# in a private Xvfb display and Wine prefix. Ends with CTest's summary.
# The end-to-end tests include one that starts Snapora from its release
# package: the zip in $SNAPORA_RELEASE_ZIP (.ci/run hands over the one it
# built), or else this build packaged on the spot, which takes seconds.
set -euo pipefail
source "$(dirname "$0")/common.sh"

snapora_test_session
echo "test: display $DISPLAY, Wine prefix $WINEPREFIX"

zip=${SNAPORA_RELEASE_ZIP:-}
[ -n "$zip" ] || zip=$("$root/tools/package.sh" --no-build --out "$build/dist" | tail -n 1)
# Unpacked into a fresh folder on the prefix's C: drive, far from the build
# and its DLLs, so that the program has nothing but the package's files.
release=$WINEPREFIX/drive_c/snapora-release
rm -rf "$release"
unzip -q "$zip" -d "$release"
export SNAPORA_RELEASE_DIR='C:\snapora-release'
echo "test: release package $zip unpacked in $SNAPORA_RELEASE_DIR"

cd "$build"
ctest --output-on-failure "$@"
