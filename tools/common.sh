# Shared by run.sh and test.sh: set-up, build, Xvfb and the Wine prefix.
# Source it; it defines functions and stops nothing by itself.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${SNAPORA_BUILD_DIR:-$root/build}
desktop_size=1280x1024

# Arguments go to the build tool (--target NAME builds that alone).
snapora_build() {
  "$root/tools/setup.sh"
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G "Unix Makefiles" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$build" -j"$(nproc)" "$@"
}

# Processes started here, stopped by their own process ids on exit.
started_pids=()
snapora_stop_started() {
  local pid
  # Wine's own background processes (services, device drivers) are not ours
  # by pid; the prefix's wineserver ends them all.
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  started_pids=()
}

# Starts Xvfb on the first free display and exports DISPLAY.
snapora_start_xvfb() {
  local n=${1:-90}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${desktop_size}x24" -nolisten tcp >/dev/null 2>&1 &
  started_pids+=($!)
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start on :$n" >&2; return 1; }
  export DISPLAY=":$n"
}

# A private Wine prefix whose programs all share one virtual desktop of a fixed size.
snapora_wine_prefix() {
  export WINEPREFIX=${1:-$build/wineprefix}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  if [ ! -f "$WINEPREFIX/.snapora-desktop" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop_size" /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.snapora-desktop"
  fi
  # The windows use SimSun, which Wine does not ship: the CJK font stands in
  # for it, as Windows' own SimSun would (Latin and CJK glyphs alike). The
  # .reg file is UTF-16, so that the Chinese name of the font survives.
  if [ ! -f "$WINEPREFIX/.snapora-fonts" ]; then
    local reg="$WINEPREFIX/snapora-fonts.reg"
    { printf '\xff\xfe'
      printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"\xe5\xae\x8b\xe4\xbd\x93"="WenQuanYi Zen Hei"\r\n"SimSun"="WenQuanYi Zen Hei"\r\n' |
        iconv -f UTF-8 -t UTF-16LE; } >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.snapora-fonts"
  fi
}

# Runs the prefix's wineserver in the foreground of a background job, so that
# this script knows its process id and can stop it.
snapora_start_wineserver() {
  wineserver -k 2>/dev/null || true
  wineserver -f -p >/dev/null 2>&1 &
  started_pids+=($!)
  # Wine's own background processes (services, the desktop's explorer) start
  # with the first program and inherit its output; started here with no
  # output, they never hold a caller's pipe open after a test ends.
  wine wineboot >/dev/null 2>&1 </dev/null || true
  wine explorer.exe "/desktop=Default,$desktop_size" >/dev/null 2>&1 </dev/null &
  for _ in $(seq 50); do
    wine reg query 'HKCU\Software\Wine\Explorer' >/dev/null 2>&1 && break
    sleep 0.1
  done
}

# Builds, then sets up the private display, Wine prefix and wineserver that the
# tests and benchmarks run in; everything started is stopped when the caller exits.
snapora_test_session() {
  snapora_build
  trap snapora_stop_started EXIT
  snapora_start_xvfb "${SNAPORA_DISPLAY:-90}"
  snapora_wine_prefix "$build/wineprefix-test"
  snapora_start_wineserver
}
