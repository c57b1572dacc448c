#!/usr/bin/env bash
# Builds bench.exe (bench/) and runs it once per display size, each time in its
# own Xvfb display of that size and a Wine prefix whose virtual desktop has
# that size, so that the grab reads a real screen of that size. While
# bench.exe shows its desktop picture full-screen, this script runs Debian's
# scrot on the same display whenever bench.exe asks (between its own periodic
# steps) and answers with scrot's time, which bench.exe prints beside the
# periodic step. At the end it prints the rows of all sizes as one table.
#   tools/bench.sh                  the table at 1920x1080 and 3840x2160
#   tools/bench.sh --sizes "WxH..." the table at other sizes
#   tools/bench.sh --png-sweep      PNG sizes and times over zlib levels,
#                                   strategies, filters and strip counts
set -euo pipefail
source "$(dirname "$0")/common.sh"

sizes="1920x1080 3840x2160"
args=()
while [ $# -gt 0 ]; do
  case "$1" in
  --sizes) sizes=$2; shift 2 ;;
  *) args+=("$1"); shift ;;
  esac
done

snapora_build
trap snapora_stop_started EXIT

# Runs scrot -q 100 once each time bench.exe asks (request-N in the
# handshake folder), writing the whole display to a JPEG file, and answers
# with the time from process start to exit in microseconds and the size of
# the file (result-N), until bench.exe is finished with it.
serve_scrot() {
  local folder=$1 bench=$2 n=1 start end fifo
  # A FIFO that nobody writes to: reading it with a timeout waits without
  # starting a process, so the waiting costs bench.exe no processor time.
  fifo=$folder/idle.fifo
  mkfifo "$fifo"
  exec 3<>"$fifo"
  while kill -0 "$bench" 2>/dev/null && [ ! -e "$folder/finished" ]; do
    if [ -e "$folder/request-$n" ]; then
      start=$(date +%s%N)
      scrot -q 100 -o "$folder/scrot.jpg"
      end=$(date +%s%N)
      echo "$(( (end - start) / 1000 )) $(stat -c %s "$folder/scrot.jpg")" >"$folder/result.tmp"
      mv "$folder/result.tmp" "$folder/result-$n"
      n=$((n + 1))
    else
      read -r -t 0.01 -u 3 _ || true
    fi
  done
  exec 3<&-
}

results=$(mktemp -d)
for size in $sizes; do
  desktop_size=$size
  snapora_start_xvfb "${SNAPORA_DISPLAY:-90}"
  snapora_wine_prefix "$build/wineprefix-bench-$size"
  snapora_start_wineserver
  echo "bench: display $DISPLAY ($size), Wine prefix $WINEPREFIX" >&2

  if [ ${#args[@]} -gt 0 ]; then
    wine "$build/bin/bench.exe" "${args[@]}"
  else
    handshake=$(mktemp -d)
    wine "$build/bin/bench.exe" --handshake "$(winepath -w "$handshake")" >"$results/$size.table" &
    bench=$!
    serve_scrot "$handshake" "$bench"
    status=0
    wait "$bench" || status=$?
    rm -rf "$handshake"
    # The memory rows once more, with glibc's malloc under Wine giving freed
    # blocks back at once: by default it keeps a freed block of up to 32 MB
    # (a window's drawing surface) for reuse, which counts as the program's
    # own memory although no buffer of the program holds it.
    MALLOC_MMAP_THRESHOLD_=131072 wine "$build/bin/bench.exe" --memory >>"$results/$size.table" || status=$?
    [ "$status" = 0 ] || { cat "$results/$size.table"; echo "bench: bench.exe failed ($status)" >&2; exit "$status"; }
  fi
  snapora_stop_started
done

if [ ${#args[@]} -eq 0 ]; then
  first=1
  for size in $sizes; do
    if [ $first = 1 ]; then cat "$results/$size.table"; else tail -n +2 "$results/$size.table"; fi
    first=0
  done
  echo "memory*: the same with Wine's malloc returning freed memory at once (MALLOC_MMAP_THRESHOLD_=131072)"
fi
rm -rf "$results"
