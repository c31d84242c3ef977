#!/usr/bin/env bash
# Measures the Linux dashboard at rest: it runs the executable (copied into a temporary folder,
# so its settings.ini lands there) for a while on a virtual display with a tray host, then
# reports its CPU time over that run as a share of one core, and its peak resident memory.
# Usage: scripts/benchmark_linux.sh [executable] [seconds] [shown|hidden]
#   (defaults: build/TAVDashboard, 60, shown; hidden: the dashboard starts hidden in the tray)
# Aims: below 0.2 % of one core and below 60 MB.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$(realpath "${1:-$root/build/TAVDashboard}")"
seconds="${2:-60}"
state="${3:-shown}"
[ -x "$exe" ] || { echo "not an executable: $exe" >&2; exit 2; }

work="$(mktemp -d /tmp/tav-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/TAVDashboard"
if [ "$state" = hidden ]; then
  printf 'Start With Windows = 0\r\nMinimize on Startup = 1\r\n' > "$work/settings.ini"
fi
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e
  exe="$1"; seconds="$2"
  trayer --edge bottom --align right --widthtype request --height 32 --transparent false &
  tray=$!
  sleep 1
  "$exe" & app=$!
  trap "kill $app $tray 2>/dev/null || true" EXIT
  # Let start-up settle (window shown, first readings drawn) before measuring.
  sleep 3
  ticks=$(getconf CLK_TCK)
  # Fields 14 and 15 (utime, stime) counted after the command name, which may hold spaces.
  cpu() { sed "s/^.*) //" "/proc/$app/stat" | awk "{ print \$12 + \$13 }"; }
  # Nanoseconds on a CPU as the scheduler counts them, summed over the threads: finer than ticks.
  run_ns() { cat /proc/$app/task/*/schedstat | awk "{ n += \$1 } END { print n }"; }
  start_cpu=$(cpu); start_run=$(run_ns); start_ns=$(date +%s%N)
  sleep "$seconds"
  kill -0 "$app" 2>/dev/null || { echo "the dashboard ended early" >&2; exit 1; }
  end_cpu=$(cpu); end_run=$(run_ns); end_ns=$(date +%s%N)
  hwm_kb=$(awk "/^VmHWM:/ { print \$2 }" "/proc/$app/status")
  rss_kb=$(awk "/^VmRSS:/ { print \$2 }" "/proc/$app/status")
  awk -v c0="$start_cpu" -v c1="$end_cpu" -v t0="$start_ns" -v t1="$end_ns" -v hz="$ticks" \
      -v r0="$start_run" -v r1="$end_run" \
      -v hwm="$hwm_kb" -v rss="$rss_kb" "BEGIN {
    wall = (t1 - t0) / 1e9; used = (c1 - c0) / hz;
    printf \"measured:        %.1f s\\n\", wall;
    printf \"CPU time:        %.2f s = %.3f %% of one core (aim < 0.2 %%)\\n\", used, 100 * used / wall;
    printf \"scheduler count: %.3f s = %.3f %% of one core\\n\", (r1 - r0) / 1e9, 100 * (r1 - r0) / 1e9 / wall;
    printf \"peak resident:   %.1f MB (VmHWM; aim < 60 MB), now %.1f MB\\n\", hwm / 1024, rss / 1024;
  }"
' bash "$work/TAVDashboard" "$seconds"
