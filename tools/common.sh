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

# The first display number from $1 on that no X server holds.
snapora_free_display() {
  local n=${1:-90}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

# Waits until the X server just started on display $1 takes connections,
# then exports DISPLAY; $2 names the server in the message when it does not.
snapora_wait_for_display() {
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$1" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$1" ] || { echo "$2 did not start on :$1" >&2; return 1; }
  export DISPLAY=":$1"
}

# Starts Xvfb on the first free display and exports DISPLAY.
snapora_start_xvfb() {
  local n
  n=$(snapora_free_display "${1:-90}")
  Xvfb ":$n" -screen 0 "${desktop_size}x24" -nolisten tcp >/dev/null 2>&1 &
  started_pids+=($!)
  snapora_wait_for_display "$n" Xvfb
}

# A private Wine prefix whose programs all share one virtual desktop of a
# fixed size; with "monitors" as second argument, one without a virtual
# desktop, whose programs see the X server's monitors (Wine's desktop is
# always one monitor), and where Wine places and sizes every window itself,
# since no window manager runs there.
snapora_wine_prefix() {
  export WINEPREFIX=${1:-$build/wineprefix}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  local kind=${2:-desktop}
  if [ ! -f "$WINEPREFIX/.snapora-$kind" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    if [ "$kind" = desktop ]; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop_size" /f >/dev/null 2>&1
    else
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.snapora-$kind"
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
# this script knows its process id and can stop it. With "monitors", no
# virtual desktop is started.
snapora_start_wineserver() {
  wineserver -k 2>/dev/null || true
  wineserver -f -p >/dev/null 2>&1 &
  started_pids+=($!)
  # Wine's own background processes (services, the desktop's explorer) start
  # with the first program and inherit its output; started here with no
  # output, they never hold a caller's pipe open after a test ends.
  wine wineboot >/dev/null 2>&1 </dev/null || true
  if [ "${1:-desktop}" = desktop ]; then
    wine explorer.exe "/desktop=Default,$desktop_size" >/dev/null 2>&1 </dev/null &
  fi
  for _ in $(seq 50); do
    wine reg query 'HKCU\Software\Wine\Explorer' >/dev/null 2>&1 && break
    sleep 0.1
  done
}

# Starts an X.Org server with the dummy video driver on the first free display
# from $1 on, with two monitors: the primary of 1280 x 1024 and a second of
# 1024 x 768 left of it (at negative x for Windows programs); exports DISPLAY.
# Xorg needs root (or sudo) here; its configuration and log stay in the build.
snapora_start_two_monitors() {
  local n dir=$build/xorg-monitors
  n=$(snapora_free_display "${1:-90}")
  mkdir -p "$dir"
  cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 4096 2048
  EndSubSection
EndSection
Section "ServerLayout"
  Identifier "layout"
  Screen "screen"
EndSection
CONF
  local as_root=()
  [ "$(id -u)" = 0 ] || as_root=(sudo)
  "${as_root[@]}" Xorg ":$n" -config "$dir/xorg.conf" -noreset -nolisten tcp -logfile "$dir/xorg.log" \
    >/dev/null 2>&1 </dev/null &
  started_pids+=($!)
  snapora_wait_for_display "$n" "Xorg (see $dir/xorg.log)"
  xrandr --output DUMMY0 --mode 1280x1024 --primary
  xrandr --newmode "1024x768_60.00" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
  xrandr --addmode DUMMY1 1024x768_60.00
  xrandr --output DUMMY1 --mode 1024x768_60.00 --left-of DUMMY0
  # Wine may see one monitor until a full query has run after the set-up.
  xrandr >/dev/null
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
