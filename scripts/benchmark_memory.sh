#!/usr/bin/env bash
# Whether the dashboard's memory grows over a long run: it starts the program shown on a
# virtual display with a tray host, from a temporary program folder, and samples its resident
# memory (VmRSS) every interval; at the end it prints the samples, the peak (VmHWM) and the
# growth from the first sample after start-up to the last.
# Usage: scripts/benchmark_memory.sh [linux|wine] [seconds] [interval]   (defaults: linux, 600, 30)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-linux}"
seconds="${2:-600}"
interval="${3:-30}"

if [ "${BENCH_INNER:-}" != 1 ]; then
  work="$(mktemp -d /tmp/tav-memory-XXXXXX)"
  trap 'rm -rf "$work"' EXIT
  case "$build" in
    linux) cp "$root/build/TAVDashboard" "$work/TAVDashboard" ;;
    # Under a name of its own, so that no other Wine run's pkill of TAVDashboard.exe ends it.
    wine) cp "$root/build-win64/TAVDashboard.exe" "$work/TAVMemory.exe" ;;
    *) echo "usage: $0 [linux|wine] [seconds] [interval]" >&2; exit 2 ;;
  esac
  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR="$work/runtime" BENCH_INNER=1 BENCH_WORK="$work"
  export WINEPREFIX="$root/build-win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

work="$BENCH_WORK"
trayer --edge bottom --align right --widthtype request --height 32 --transparent false &
tray=$!
trap 'kill $tray 2>/dev/null || true; [ -n "${app:-}" ] && kill $app 2>/dev/null || true; [ "$build" = wine ] && wineserver -k 2>/dev/null || true' EXIT
sleep 1
if [ "$build" = linux ]; then
  (cd "$work" && exec ./TAVDashboard >/dev/null 2>&1) &
  app=$!
else
  wineserver -p 60 >/dev/null 2>&1 &
  (cd "$work" && exec wine TAVMemory.exe >/dev/null 2>&1) &
  # The process that runs the exe is Wine's preloader, not the wine command itself.
  for _ in $(seq 1 100); do
    app=$(pgrep -n -f 'TAVMemory\.exe' || true)
    [ -n "$app" ] && break
    sleep 0.2
  done
fi
# Start-up: until the dashboard shows (under Wine that can take many seconds in a fresh
# prefix), then the summary and the first readings.
for _ in $(seq 1 600); do
  xdotool search --onlyvisible --name '^TAV Dashboard v' >/dev/null 2>&1 && break
  kill -0 "$app" 2>/dev/null || { echo "the dashboard ended before it showed" >&2; exit 1; }
  sleep 0.2
done
sleep 10
first=""
for t in $(seq 0 "$interval" "$seconds"); do
  kill -0 "$app" 2>/dev/null || { echo "the dashboard ended early" >&2; exit 1; }
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app/status")
  [ -z "$first" ] && first=$rss
  awk -v t="$t" -v r="$rss" 'BEGIN { printf "%5d s  %7.1f MB\n", t, r / 1024 }'
  last=$rss
  [ "$t" -lt "$seconds" ] && sleep "$interval"
done
hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$app/status")
awk -v f="$first" -v l="$last" -v h="$hwm" -v b="$build" 'BEGIN {
  printf "%s: peak %.1f MB, first %.1f MB, last %.1f MB, growth %+.1f MB\n", b, h / 1024, f / 1024, l / 1024, (l - f) / 1024 }'
