#!/usr/bin/env bash
# Builds a release and writes dist/Snapora-<version>-win64.zip, which a user
# unpacks into any folder and runs from there: Snapora.exe, hook.dll,
# capture.chm, config.ini with the factory settings, README.txt and LICENSE.txt.
#
#   tools/package.sh [--no-build] [--out FOLDER]
#
# --no-build packages the build folder as it stands (tools/test.sh does, right
# after its own build); --out writes the zip elsewhere than dist/. Progress
# goes to stderr; the last line on stdout is the path of the zip.
set -euo pipefail
source "$(dirname "$0")/common.sh"

fail() {
  echo "package: $*" >&2
  exit 1
}

out=$root/dist
build_first=1
while [ $# -gt 0 ]; do
  case $1 in
  --no-build) build_first=0 ;;
  --out)
    [ $# -ge 2 ] || fail "--out needs a folder"
    out=$2
    shift
    ;;
  *) fail "unknown argument $1 (usage: tools/package.sh [--no-build] [--out FOLDER])" ;;
  esac
  shift
done

# The one place the version is written down; CMake reads the same line.
version=$(head -n 1 "$root/VERSION" | tr -d '[:space:]')
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "VERSION must hold MAJOR.MINOR.PATCH, not \"$version\""

if [ "$build_first" = 1 ]; then
  # Only what ships; the tests are tools/test.sh's business.
  snapora_build --target Snapora hook capture_help >&2
fi
[ -f "$build/CMakeCache.txt" ] || fail "no build in $build"
grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" ||
  fail "$build is not a Release build"
for file in Snapora.exe hook.dll capture.chm; do
  [ -s "$build/bin/$file" ] || fail "$build/bin/$file is missing (capture.chm needs chmcmd, from fp-utils)"
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The same build always makes the same zip: the files, and the time stamps
# that strip writes into their headers, are dated to the last commit, and zip
# leaves out the owner and extra time fields (-X).
stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)

# The symbols are for debugging the build, not for users: without them the
# program is about a quarter smaller.
for file in Snapora.exe hook.dll; do
  SOURCE_DATE_EPOCH=$stamp x86_64-w64-mingw32-strip --strip-all -o "$stage/$file" "$build/bin/$file"
done
cp "$build/bin/capture.chm" "$stage/"

# A build from before a change of VERSION would ship under the wrong name.
for file in Snapora.exe hook.dll; do
  built=$(x86_64-w64-mingw32-strings -el "$stage/$file" | grep -x -A 1 'ProductVersion' | tail -n 1 || true)
  [ "$built" = "$version" ] || fail "$file carries version \"$built\", VERSION says $version: rebuild"
done

# The package must run on a bare Windows: the program and the library may
# import only DLLs that every Windows has (the C runtime msvcrt.dll is one),
# and the program our hook.dll besides. A MinGW runtime DLL such as
# libstdc++-6.dll or libwinpthread-1.dll here means the static linking broke.
system_dlls=(kernel32.dll user32.dll gdi32.dll msimg32.dll shell32.dll comdlg32.dll comctl32.dll
  ole32.dll oleaut32.dll shlwapi.dll advapi32.dll version.dll wtsapi32.dll msvcrt.dll)
# check_imports FILE ALLOWED_DLL...
check_imports() {
  local file=$1 imports dll allowed foreign=()
  shift
  imports=$(x86_64-w64-mingw32-objdump -p "$stage/$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
  [ -n "$imports" ] || fail "$file: objdump found no imports"
  echo "package: $file imports $imports" >&2
  for dll in $imports; do
    for allowed in "$@" ''; do [ "${dll,,}" = "$allowed" ] && break; done
    [ -n "$allowed" ] || foreign+=("$dll")
  done
  [ ${#foreign[@]} -eq 0 ] || fail "$file imports ${foreign[*]}, which Windows does not have: it would not start"
}
check_imports Snapora.exe "${system_dlls[@]}" hook.dll
check_imports hook.dll "${system_dlls[@]}"

# The texts for the user, with Windows line ends so that every editor shows them right.
crlf() { sed 's/\r*$/\r/'; }

# The factory settings, the lines that Reset in Options writes into a new
# file, so that a fresh install captures a usable fixed region and has a
# folder for periodic capture.
crlf >"$stage/config.ini" <<'EOF'
[Options]
FixedRegionWidth=320
FixedRegionHeight=240
StartupSuspend=0
IncludeCursor=0
RealTime=0
Interval=30000
IntervalCent=Seconds
CaptureIndex=0
RealSavePath=D:\output
EOF
crlf <"$root/LICENSE" >"$stage/LICENSE.txt"
crlf >"$stage/README.txt" <<EOF
Snapora $version
$(printf '=%.0s' $(seq $((8 + ${#version}))))

Snapora takes pictures of your screen. It lives in the notification area of
the taskbar (the tray) and captures the whole screen, the active window, the
window you click, a region you drag out, or a box of fixed size around the
mouse. The picture opens in a window where you zoom, crop, copy it to the
clipboard or save it as a JPEG, PNG or BMP file. Periodic capture ("Real
Time Capture" on the main window) takes a picture at a fixed interval and
saves each one as a JPEG file.

Installing
----------
Unpack this zip into a folder of your own (for example Documents\\Snapora)
and start Snapora.exe. Nothing else is installed: keep hook.dll beside
Snapora.exe. To remove Snapora, exit it (tray menu, Exit) and delete the
folder.

Hotkeys (they work in every program)
------------------------------------
  Ctrl+1   capture the full screen
  Ctrl+2   capture the active window
  Ctrl+3   capture a window: a frame follows the mouse, click the window
  Ctrl+4   capture a region: the screen freezes, drag out the region
  Ctrl+5   capture a box of fixed size around the mouse: click to take it
  Ctrl+R   start periodic capture
  Ctrl+S   stop periodic capture
  Ctrl+D   the capture key: captures with the method chosen on the main
           window. While Snapora waits for a capture it takes Ctrl+D for
           itself, so other programs do not see that key meanwhile.

Settings and files
------------------
The settings are kept in config.ini beside Snapora.exe, written when you
click Save or Reset in Options; so put Snapora in a folder you can write to.
This package brings a config.ini with the factory settings (the ones Reset
writes). Without the file, Snapora starts with empty settings: a fixed
region of 0 x 0 pixels, no interval and no folder, until you set them in
Options. The file may be edited in any editor and saved as ANSI, UTF-8 (with
or without a BOM) or UTF-16; Snapora keeps the way it was saved.

Upgrading: unpack the new version over the old one, but keep your own
config.ini: answer "Skip" (or "No") when asked whether to replace it.
Periodic capture saves into the "Save to" folder of Options (D:\\output
unless you choose another), one JPEG file per picture, named after the date
and time it was taken, such as "2026-03-05 14_07_09.jpg".

Help: the Help button on the main window opens capture.chm.
Snapora is free software under the MIT license: see LICENSE.txt.
EOF

contents=(Snapora.exe hook.dll capture.chm config.ini README.txt LICENSE.txt)
for file in "${contents[@]}"; do touch -d "@$stamp" "$stage/$file"; done
mkdir -p "$out"
zip_path=$(cd "$out" && pwd)/Snapora-$version-win64.zip
# zip adds to an archive that exists: start from nothing.
rm -f "$zip_path"
(cd "$stage" && TZ=UTC zip -q -X -9 "$zip_path" "${contents[@]}")
echo "package: wrote $zip_path" >&2
echo "$zip_path"
