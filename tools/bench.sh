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
#   tools/bench.sh --idle-only      only the idle rows (--idle-seconds N: 60)
set -euo pipefail
source "$(dirname "$0")/common.sh"

sizes="1920x1080 3840x2160"
idle_seconds=60
idle_only=0
args=()
while [ $# -gt 0 ]; do
  case "$1" in
  --sizes) sizes=$2; shift 2 ;;
  --idle-seconds) idle_seconds=$2; shift 2 ;;
  --idle-only) idle_only=1; shift ;;
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

# What a Wine process has used so far, from Linux's side: the context
# switches of all its threads, the wake-ups of its first thread (Wine runs
# the program's main thread, the one with the windows and timers, there),
# and its processor time in clock ticks.
process_counts() {
  local pid=$1 all=0 n task
  for task in /proc/"$pid"/task/*; do
    n=$(awk '/^(non)?voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }' "$task/status" 2>/dev/null || echo 0)
    all=$((all + n))
  done
  local main cpu
  main=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$pid/status")
  # utime and stime, the 14th and 15th fields, counted after the name in parentheses.
  cpu=$(sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }')
  echo "$all $main $cpu"
}

# Snapora.exe idle for idle_seconds, its main window hidden and the trigger
# armed, beside bench_window.exe, a bare Wine process with one window shown,
# over the same seconds: wake-ups of the main thread, context switches of the
# whole process, and processor time, per second. Prints the rows.
idle_costs() {
  local size=$1 folder snapora bare
  folder=$(mktemp -d)
  cp "$build/bin/Snapora.exe" "$build/bin/hook.dll" "$folder/"
  printf '[Options]\r\nStartupSuspend=1\r\n' >"$folder/config.ini"
  (cd "$folder" && exec wine ./Snapora.exe) >/dev/null 2>&1 </dev/null &
  snapora=$!
  wine "$build/bin/bench_window.exe" >/dev/null 2>&1 </dev/null &
  bare=$!
  # Both have started and settled once their windows are up.
  sleep 10
  local s0 b0 s1 b1
  read -r -a s0 < <(process_counts "$snapora")
  read -r -a b0 < <(process_counts "$bare")
  sleep "$idle_seconds"
  read -r -a s1 < <(process_counts "$snapora")
  read -r -a b1 < <(process_counts "$bare")
  if [ ! -e "/proc/$snapora/stat" ] || [ ! -e "/proc/$bare/stat" ]; then
    echo "bench: Snapora.exe or bench_window.exe ended before the idle rows were taken" >&2
    return 1
  fi
  kill "$snapora" "$bare" 2>/dev/null || true
  wait "$snapora" "$bare" 2>/dev/null || true
  rm -rf "$folder"
  awk -v t="$idle_seconds" -v hz="$(getconf CLK_TCK)" -v size="$size" \
    -v sa="$((s1[0] - s0[0]))" -v sm="$((s1[1] - s0[1]))" -v sc="$((s1[2] - s0[2]))" \
    -v ba="$((b1[0] - b0[0]))" -v bm="$((b1[1] - b0[1]))" -v bc="$((b1[2] - b0[2]))" '
    function row(what, figure, unit, reference, ref, ratio, target, verdict) {
      printf "%-48s %-10s %14s  %-30s %14s %7s %8s  %s\n", what, size, sprintf("%.2f %s", figure, unit),
        reference, ref == "" ? "-" : sprintf("%.2f %s", ref, unit), ratio, target, verdict
    }
    BEGIN {
      wake = sm / t; bwake = bm / t; cs = sa / t; bcs = ba / t
      cpu = 100 * sc / hz / t; bcpu = 100 * bc / hz / t
      row("idle: main thread wake-ups", wake, "/s", "target 1 per second", 1, sprintf("%.2f", wake), "<= 1.00",
        wake <= 1 ? "met" : "MISSED")
      row("idle: main thread wake-ups", wake, "/s", "bare Wine window", bwake, "-", "-", "")
      row("idle: context switches, whole process", cs, "/s", "bare Wine window", bcs, sprintf("%+.2f", cs - bcs),
        "<= +2", cs - bcs <= 2 ? "met" : "MISSED")
      row("idle: processor time", cpu, "%", "target 0.1 % of a core", 0.1, sprintf("%.2f", cpu / 0.1), "<= 1.00",
        cpu <= 0.1 ? "met" : "MISSED")
      row("idle: processor time", cpu, "%", "bare Wine window", bcpu, "-", "-", "")
    }'
}

results=$(mktemp -d)
for size in $sizes; do
  desktop_size=$size
  snapora_start_xvfb "${SNAPORA_DISPLAY:-90}"
  snapora_wine_prefix "$build/wineprefix-bench-$size"
  snapora_start_wineserver
  echo "bench: display $DISPLAY ($size), Wine prefix $WINEPREFIX" >&2

  if [ $idle_only = 1 ]; then
    idle_costs "$size" >"$results/$size.table"
  elif [ ${#args[@]} -gt 0 ]; then
    wine "$build/bin/bench.exe" "${args[@]}"
  else
    idle_costs "$size" >"$results/$size.idle"
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
    cat "$results/$size.idle" >>"$results/$size.table"
    [ "$status" = 0 ] || { cat "$results/$size.table"; echo "bench: bench.exe failed ($status)" >&2; exit "$status"; }
  fi
  snapora_stop_started
done

if [ $idle_only = 1 ]; then
  cat "$results"/*.table
elif [ ${#args[@]} -eq 0 ]; then
  first=1
  for size in $sizes; do
    if [ $first = 1 ]; then cat "$results/$size.table"; else tail -n +2 "$results/$size.table"; fi
    first=0
  done
  # Snapora's idle memory must not grow with the display: the figures of the
  # smallest and the largest display side by side.
  cat "$results"/*.table | awk '
    substr($0, 1, 48) ~ /^memory\*: Snapora.exe idle, before a capture *$/ {
      mb = substr($0, 61, 14) + 0; split(substr($0, 50, 10), wh, "x"); n = wh[1] * wh[2]
      if (!small || n < small) { small = n; smallMb = mb }
      if (!large || n > large) { large = n; largeMb = mb }
    }
    END {
      if (large > small) {
        d = largeMb - smallMb; if (d < 0) d = -d
        printf "%-48s %-10s %14s  %-30s %14s %7s %8s  %s\n", "memory*: Snapora.exe idle, apart by display", "both",
          sprintf("%.2f MB", d), "target 2 MB", "2.00 MB", sprintf("%.2f", d / 2), "<= 1.00", d <= 2 ? "met" : "MISSED"
      }
    }'
  echo "memory*: the same with Wine's malloc returning freed memory at once (MALLOC_MMAP_THRESHOLD_=131072)"
fi
rm -rf "$results"
