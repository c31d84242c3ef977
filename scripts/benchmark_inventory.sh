#!/usr/bin/env bash
# Times the hardware-summary collection of a start: 20 fresh runs of GetAllData with the real
# services, on Linux and, with "wine", under Wine. A peer that reads the same kind of facts runs
# side by side in the same loop (lscpu plus df on Linux), so that the ratio stays meaningful on
# a busy machine. Prints the median and the range of each.
# Usage: scripts/benchmark_inventory.sh [linux|wine] [runs]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:-linux}"
runs="${2:-20}"

median() { sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
  printf "median %.2f ms (min %.2f, max %.2f, %d runs)\n", m, v[1], v[NR], NR }'; }
now_ms() { date +%s%N | awk '{ printf "%.3f", $1 / 1e6 }'; }

ours="$(mktemp)"; whole="$(mktemp)"; peer="$(mktemp)"
trap 'rm -f "$ours" "$whole" "$peer"' EXIT
if [ "$target" = wine ]; then
  # Wine's desktop process needs a display even for a program without windows.
  if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a "$0" "$@"; fi
  export WINEPREFIX="$root/build-win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  exe="$root/build-win64/tav_inventory_benchmark.exe"
  [ -f "$exe" ] || { echo "build it first: bash scripts/windows.sh build" >&2; exit 2; }
  # A persistent server: each run then pays the program's start, not the server's.
  wineserver -p 60 >/dev/null 2>&1 < /dev/null &
  trap 'wineserver -k 2>/dev/null || true; rm -f "$ours" "$whole" "$peer"' EXIT
  wine "$exe" -v | tr -d '\r'
  for _ in $(seq "$runs"); do
    t0=$(now_ms); wine "$exe" | tr -d '\r' >> "$ours"; t1=$(now_ms)
    echo "$t0 $t1" | awk '{ printf "%.2f\n", $2 - $1 }' >> "$whole"
    t0=$(now_ms); wine cmd /c ver > /dev/null; t1=$(now_ms)
    echo "$t0 $t1" | awk '{ printf "%.2f\n", $2 - $1 }' >> "$peer"
  done
  echo "GetAllData under Wine, in the process: $(median < "$ours")"
  echo "the benchmark process, start to end:   $(median < "$whole")"
  echo "peer: wine cmd /c ver, start to end:   $(median < "$peer")"
  exit 0
fi

exe="$root/build/tests/tav_inventory_benchmark"
[ -x "$exe" ] || { echo "build it first: make build" >&2; exit 2; }
QT_QPA_PLATFORM=offscreen "$exe" -v
for _ in $(seq "$runs"); do
  t0=$(now_ms); QT_QPA_PLATFORM=offscreen "$exe" >> "$ours"; t1=$(now_ms)
  echo "$t0 $t1" | awk '{ printf "%.2f\n", $2 - $1 }' >> "$whole"
  t0=$(now_ms); lscpu > /dev/null; df -P > /dev/null; t1=$(now_ms)
  echo "$t0 $t1" | awk '{ printf "%.2f\n", $2 - $1 }' >> "$peer"
done
echo "GetAllData on Linux, in the process:   $(median < "$ours")"
echo "the benchmark process, start to end:   $(median < "$whole")"
echo "peer: lscpu and df, start to end:      $(median < "$peer")"
