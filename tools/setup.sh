#!/usr/bin/env bash
# Installs what the build and the tests need, once; quick when everything is there.
#  - Debian packages: the MinGW-w64 cross compiler, Wine, Xvfb, nasm, fonts,
#    scrot (the benchmark's reference for a periodic step), X.Org with the
#    dummy video driver and xrandr (the two-monitor tests), ...
#  - libjpeg-turbo and libpng built for the MinGW target from Debian's source
#    packages into the ignored cache folder .deps/ (never committed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=${SNAPORA_DEPS_DIR:-$root/.deps}
prefix=$deps/mingw

packages=(cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev libz-mingw-w64-dev
  wine wine64 xvfb x11-utils nasm fonts-wine fonts-liberation fonts-wqy-zenhei
  googletest imagemagick dpkg-dev fp-utils zip unzip scrot
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_ apt-get update -q
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The MinGW libraries are built once; the stamp names the source versions.
stamp=$prefix/.stamp-v1
if [ -f "$stamp" ]; then exit 0; fi

src=$deps/src
mkdir -p "$src"
if ! ls "$src"/libjpeg-turbo_*.dsc >/dev/null 2>&1 || ! ls "$src"/libpng1.6_*.dsc >/dev/null 2>&1; then
  list=/etc/apt/sources.list.d/snapora-src.sources
  if [ ! -f "$list" ]; then
    echo "setup: adding Debian source entries ($list)"
    sudo_ tee "$list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    sudo_ apt-get update -q
  fi
  # The main suite's sources: the security suite may list versions it does not serve.
  (cd "$src" && apt-get source --download-only libpng1.6/bookworm libjpeg-turbo/bookworm)
fi

build=$deps/build
rm -rf "$build" && mkdir -p "$build"
dpkg-source --no-check -x "$(ls "$src"/libjpeg-turbo_*.dsc | tail -n 1)" "$build/jpeg-src" >/dev/null
dpkg-source --no-check -x "$(ls "$src"/libpng1.6_*.dsc | tail -n 1)" "$build/png-src" >/dev/null
toolchain=$root/cmake/mingw-w64.cmake
jobs=$(nproc)

echo "setup: building libjpeg-turbo for MinGW"
cmake -S "$build/jpeg-src" -B "$build/jpeg" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
  -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
cmake --build "$build/jpeg" -j"$jobs" >/dev/null
cmake --install "$build/jpeg" >/dev/null
# The SIMD code is the point of libjpeg-turbo: refuse a build that lost it.
x86_64-w64-mingw32-nm "$prefix/lib/libjpeg.a" > "$build/jpeg.syms"
grep -q ' T jsimd_extbgr_ycc_convert_avx2' "$build/jpeg.syms" \
  || { echo "setup: libjpeg-turbo was built without its SIMD code" >&2; exit 1; }

echo "setup: building libpng for MinGW"
cmake -S "$build/png-src" -B "$build/png" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
  -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_EXECUTABLES=ON \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
cmake --build "$build/png" -j"$jobs" >/dev/null
cmake --install "$build/png" >/dev/null

rm -rf "$build"
touch "$stamp"
echo "setup: MinGW libraries ready in $prefix"
