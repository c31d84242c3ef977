#!/usr/bin/env bash
# Starts the dashboard. Without a display it starts a virtual one with a tray host,
# saves a screenshot of the dashboard to build/dashboard.png and keeps running until Ctrl+C.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$root/build/TAVDashboard"
# The program folder is the executable's folder: settings.ini goes beside it.
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$exe"
fi

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tav-runtime-XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
exec xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e
  trayer --edge bottom --align right --widthtype request --height 32 --transparent false --tint 0xdde3ee &
  sleep 1
  "$0" & app=$!
  trap "kill $app 2>/dev/null" EXIT INT TERM
  for i in $(seq 1 50); do
    xdotool search --name "^TAV Dashboard v" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 8
  import -window root "$1"
  echo "Dashboard screenshot: $1"
  echo "The dashboard runs on a virtual display; press Ctrl+C to end it."
  wait $app
' "$exe" "$root/build/dashboard.png"
