#!/usr/bin/env bash
# The Windows build: cross-built with mingw-w64, run and tested under Wine.
#   bash scripts/windows.sh build   configure and build build-win64 (x86_64) and build-win32 (i686, build
#                                   only), and the installer build-win64/packages/TAVDashboard-<version>-setup.exe
#   bash scripts/windows.sh test    unit tests and integration tests under Wine on a virtual display
#   bash scripts/windows.sh run     start TAVDashboard.exe under Wine (a virtual display with a screenshot
#                                   when there is no display)
# Only 64-bit programs run here: this kernel cannot run 32-bit code, so the i686 build is never started.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
b64="$root/build-win64"
b32="$root/build-win32"
jobs=2

export WINEPREFIX="$b64/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

configure() {  # folder toolchain
  if [ ! -f "$1/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
}

build() {
  configure "$b64" toolchain-mingw-x86_64.cmake
  cmake --build "$b64" -j"$jobs"
  cmake --build "$b64" --target installer
  configure "$b32" toolchain-mingw-i686.cmake
  cmake --build "$b32" -j"$jobs"
}

# The Wine prefix of the tests, created once: no window manager decorations (hiding a window
# then costs no waiting for one), and a persistent wineserver while we work.
started_server=0
wine_up() {
  # A persistent server first (it stays in the foreground, hence &): later starts are fast.
  # Where one already serves this prefix, the new one just exits.
  wineserver -p 60 >/dev/null 2>&1 &
  started_server=1
  sleep 0.5
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
  fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The layout was drawn with Calibri and Arial: use their metric-compatible stand-ins.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Calibri /d Carlito /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
}
wine_down() {
  if [ "$started_server" = 1 ]; then
    wineserver -k 2>/dev/null || true
    started_server=0
  fi
}

run_tests() {
  local passed=0 failed=0 skipped=0 out
  wine_up
  trap wine_down EXIT

  # Portable unit tests and Windows unit tests: GoogleTest's summary line tells that they ran.
  for exe in tav_unit_tests tav_windows_unit_tests; do
    echo "== $exe.exe"
    # Into a file, not a pipe: programs that Wine starts on the side (explorer) keep their
    # inherited output open after the tests end.
    (cd "$b64" && wine "$b64/$exe.exe" >"$b64/$exe.log" 2>&1) && rc=0 || rc=$?
    out="$(cat "$b64/$exe.log")"
    printf '%s\n' "$out" | grep -E '^\[  (PASSED|FAILED) |^\[==========\]|FAILED' || true
    local ok bad skip
    ok="$(printf '%s\n' "$out" | sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' | tail -1)"
    bad="$(printf '%s\n' "$out" | sed -n 's/^ *\([0-9]*\) FAILED TEST.*/\1/p' | tail -1)"
    skip="$(printf '%s\n' "$out" | sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' | tail -1)"
    if [ -z "$ok" ] && [ -z "$bad" ]; then
      # No summary line: the runner did not start or crashed.
      printf '%s\n' "$out" | tail -40
      echo "$exe: no test summary (exit code $rc)"
      failed=$((failed + 1))
      continue
    fi
    passed=$((passed + ${ok:-0}))
    failed=$((failed + ${bad:-0}))
    skipped=$((skipped + ${skip:-0}))
    if [ "$rc" != 0 ] && [ -z "$bad" ]; then failed=$((failed + 1)); fi
    [ -n "$bad" ] && printf '%s\n' "$out" | grep -E '^\[  FAILED  \]|Failure' | head -40
  done

  # Integration tests: the real program under Wine on a virtual display.
  echo "== integration (pytest)"
  local log="$b64/integration.log"
  TAV_WIN64="$b64" /usr/bin/python3 -m pytest -q -rs -p no:cacheprovider "$root/tests/windows" >"$log" 2>&1 && rc=0 || rc=$?
  cat "$log"
  local summary
  summary="$(grep -E '^[0-9]+ (passed|failed|skipped|error)|^=+ .*(passed|failed|skipped|error)' "$log" | tail -1)"
  ok="$(printf '%s' "$summary" | grep -oE '[0-9]+ passed' | grep -oE '[0-9]+' || true)"
  bad="$(printf '%s' "$summary" | grep -oE '[0-9]+ (failed|error)' | awk '{ n += $1 } END { if (NR) print n }' || true)"
  skip="$(printf '%s' "$summary" | grep -oE '[0-9]+ skipped' | grep -oE '[0-9]+' || true)"
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  skipped=$((skipped + ${skip:-0}))
  if [ "$rc" != 0 ] && [ -z "$bad" ]; then failed=$((failed + 1)); fi
  wine_down
  trap - EXIT
  # Skipped tests are neither passes nor failures: they are reported on their own.
  echo "windows: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" = 0 ]
}

# Waits for the dashboard's window, by its title.
wait_dashboard() {
  for _ in $(seq 1 100); do
    xdotool search --name '^TAV Dashboard v' >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

run_program() {
  local exe="$b64/TAVDashboard.exe"
  [ -f "$exe" ] || { echo "Build first: bash scripts/windows.sh build" >&2; exit 1; }
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_up
    trap wine_down EXIT
    (cd "$b64" && wine "$exe")
    return
  fi
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" run-on-virtual-display "$exe" "$b64/dashboard-wine.png"
}

# Inside xvfb-run: starts the program, saves a screenshot of the screen once the dashboard shows.
run_on_virtual_display() {  # exe screenshot
  wine_up
  trap wine_down EXIT
  (cd "$(dirname "$1")" && exec wine "$1") & local app=$!
  wait_dashboard || { echo "The dashboard did not appear" >&2; exit 1; }
  sleep 3
  import -window root "$2"
  echo "Dashboard screenshot: $2"
  if [ -t 0 ]; then
    echo "The dashboard runs on a virtual display; press Ctrl+C to end it."
    wait "$app"
  fi
}

case "${1:-}" in
  build) build ;;
  # One virtual display for every Wine program of the tests: Wine's desktop process (explorer,
  # which also shows the tray) lives on the display of the first program and must outlive the rest.
  test) xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" test-on-virtual-display ;;
  test-on-virtual-display) run_tests ;;
  run) run_program ;;
  run-on-virtual-display) run_on_virtual_display "$2" "$3" ;;
  *) echo "usage: $0 build|test|run" >&2; exit 2 ;;
esac
