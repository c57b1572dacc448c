#!/usr/bin/env bash
# Saves a picture of an X display: tools/screenshot.sh [display] [file.png]
set -euo pipefail
display=${1:-${DISPLAY:-:50}}
out=${2:-shot.png}
import -display "$display" -window root "$out"
echo "$out"
