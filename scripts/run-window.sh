#!/usr/bin/env bash
# Runs Vortal.exe from a delivered run folder under Wine and keeps it running
# until it ends (tray "Exit") or this script is interrupted. Without a display
# a virtual one (Xvfb) is started and its screen can be captured with
# `DISPLAY=:99 import -window root shot.png`.
#
#   scripts/run-window.sh RUN_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run=${1:?usage: run-window.sh RUN_FOLDER}
[ -e "$run/Vortal.exe" ] || { echo "run-window.sh: no Vortal.exe in $run" >&2; exit 2; }
run=$(cd "$run" && pwd)

xvfb_pid=""
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display=99
  while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  echo "Virtual display $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi

echo "Vortal.exe runs in the tray; click its icon to open the window."
cd "$run"
"$root/scripts/wine.sh" "$run/Vortal.exe"
