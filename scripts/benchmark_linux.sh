#!/usr/bin/env bash
# The Linux dashboard's running cost beside conky's, in one run on one virtual display with a
# tray host: conky (scripts/bench/conky.conf), the dashboard shown and the dashboard hidden in
# the tray, interleaved, each started afresh, left to settle, then measured over a window.
# CPU is the scheduler's own count of each program's threads (/proc/PID/task/*/schedstat), as
# a share of one core; memory is the peak resident set (VmHWM). Then the start-up time: exec to
# a visible dashboard with the store's server unreachable (the loopback build, nothing on its
# port), the median of several starts.
# Usage: scripts/benchmark_linux.sh [runs] [seconds] [starts]   (defaults: 3, 40, 10)
# TAV_BENCH_EXE measures another build of the program; TAV_BENCH_BASELINE_EXE adds an earlier
# build, shown and hidden, to every round, so that a change is measured beside its baseline.
# make bench installs conky and builds first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$(realpath "${TAV_BENCH_EXE:-$root/build/TAVDashboard}")"
loopback="$(realpath "${TAV_BENCH_LOOPBACK_EXE:-$root/build/TAVDashboard-loopback}")"
baseline="${TAV_BENCH_BASELINE_EXE:+$(realpath "$TAV_BENCH_BASELINE_EXE")}"
runs="${1:-3}"
seconds="${2:-40}"
starts="${3:-10}"
settle=5

if [ "${BENCH_INNER:-}" != 1 ]; then
  for f in "$exe" "$loopback" ${baseline:+"$baseline"}; do [ -x "$f" ] || { echo "not an executable: $f (make build)" >&2; exit 2; }; done
  command -v conky >/dev/null || { echo "conky is missing: make bench installs it" >&2; exit 2; }
  work="$(mktemp -d /tmp/tav-bench-XXXXXX)"
  trap 'rm -rf "$work"' EXIT
  mkdir -m 700 "$work/runtime"
  # The programs' own folders of settings (conky's, the dashboard's start-with-the-session
  # entry) stay in the work folder.
  export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" BENCH_INNER=1 BENCH_WORK="$work"
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

work="$BENCH_WORK"
trayer --edge bottom --align right --widthtype request --height 32 --transparent false &
tray=$!
app=""
trap 'kill $tray $app 2>/dev/null || true' EXIT
sleep 1

# Nanoseconds on a CPU, summed over the process's threads.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%d", n }'; }

# Settings of the program's own making, dated today, so that no check-up is due and the
# dashboard is measured alone, not beside an appointment window: one start writes them.
first="$work/first-start"
mkdir -p "$first"
cp "$exe" "$first/TAVDashboard"
(cd "$first" && exec ./TAVDashboard >/dev/null 2>&1) &
app=$!
for _ in $(seq 1 100); do [ -s "$first/settings.ini" ] && break; sleep 0.1; done
kill "$app"; wait "$app" 2>/dev/null || true
app=""
[ -s "$first/settings.ini" ] || { echo "the dashboard wrote no settings" >&2; exit 1; }
settings_for() {  # state: shown, or hidden (it starts in the tray)
  local minimize=0
  [ "$1" = hidden ] && minimize=1
  sed -e "s/^Start With Windows = .*/Start With Windows = 0\r/" \
      -e "s/^Minimize on Startup = .*/Minimize on Startup = $minimize\r/" "$first/settings.ini"
}

# A fresh program folder for one start of the dashboard.
program_folder() {  # name exe state
  local folder="$work/$1"
  rm -rf "$folder"; mkdir -p "$folder"
  cp "$2" "$folder/TAVDashboard"
  settings_for "$3" > "$folder/settings.ini"
  echo "$folder"
}

# Runs one program: settle, then its CPU share (percent of one core) and peak RSS (MB).
measure() {  # label command...
  local label="$1"; shift
  "$@" >/dev/null 2>&1 &
  app=$!
  sleep "$settle"
  local r0 t0 r1 t1 hwm
  r0=$(run_ns "$app"); t0=$(date +%s%N)
  sleep "$seconds"
  kill -0 "$app" 2>/dev/null || { echo "$label ended early" >&2; exit 1; }
  r1=$(run_ns "$app"); t1=$(date +%s%N)
  hwm=$(awk '/^VmHWM:/ { print $2 }' /proc/"$app"/status)
  kill "$app"; wait "$app" 2>/dev/null || true
  app=""
  awk -v l="$label" -v r0="$r0" -v r1="$r1" -v t0="$t0" -v t1="$t1" -v h="$hwm" \
    'BEGIN { printf "%s %.4f %.1f\n", l, 100 * (r1 - r0) / (t1 - t0), h / 1024 }'
}

results="$work/results.txt"
: > "$results"
echo "Running $runs rounds of conky, dashboard shown, dashboard hidden: ${settle} s settle, ${seconds} s measured each"
for round in $(seq 1 "$runs"); do
  measure conky conky -q -c "$root/scripts/bench/conky.conf" | tee -a "$results"
  folder=$(program_folder shown "$exe" shown)
  (cd "$folder" && measure shown ./TAVDashboard) | tee -a "$results"
  folder=$(program_folder hidden "$exe" hidden)
  (cd "$folder" && measure hidden ./TAVDashboard) | tee -a "$results"
  if [ -n "$baseline" ]; then
    folder=$(program_folder base-shown "$baseline" shown)
    (cd "$folder" && measure base-shown ./TAVDashboard) | tee -a "$results"
    folder=$(program_folder base-hidden "$baseline" hidden)
    (cd "$folder" && measure base-hidden ./TAVDashboard) | tee -a "$results"
  fi
done

# Start-up: each start in the same folder; the first one warms the file caches and is not counted.
visible() { xdotool search --onlyvisible --name '^TAV Dashboard v' >/dev/null 2>&1; }
folder=$(program_folder startup "$loopback" shown)
startup_ms="$work/startup-ms.txt"
: > "$startup_ms"
for i in $(seq 0 "$starts"); do
  t0=$(date +%s%N)
  (cd "$folder" && exec ./TAVDashboard >/dev/null 2>&1) &
  app=$!
  until visible; do
    sleep 0.01
    kill -0 "$app" 2>/dev/null || { echo "the dashboard ended before it showed" >&2; exit 1; }
  done
  t1=$(date +%s%N)
  kill "$app"; wait "$app" 2>/dev/null || true
  app=""
  [ "$i" -gt 0 ] && echo $(( (t1 - t0) / 1000000 )) >> "$startup_ms"
  sleep 0.5
done

echo
awk -v runs="$runs" '
  { cpu[$1] = cpu[$1] sprintf("%s%.3f", n[$1]++ ? ", " : "", $2); sum[$1] += $2; if ($3 > peak[$1]) peak[$1] = $3 }
  END {
    printf "%-12s %-28s %8s %10s %13s\n", "program", "CPU % of one core (runs)", "mean", "peak RSS", "CPU vs conky"
    k = split("conky shown hidden base-shown base-hidden", order, " ")
    for (i = 1; i <= k; i++) {
      p = order[i]; if (!n[p]) continue; mean = sum[p] / n[p]
      printf "%-12s %-28s %8.3f %7.1f MB %12.2fx\n", p, cpu[p], mean, peak[p], mean / (sum["conky"] / n["conky"])
    }
  }' "$results"
sort -n "$startup_ms" | awk '{ v[NR] = $1 } END {
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
  printf "start-up to a visible dashboard, server unreachable: median %d ms of %d starts (min %d, max %d)\n", m, NR, v[1], v[NR] }'
