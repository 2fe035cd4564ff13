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

"$root/scripts/wine-fonts.sh" || echo "warning: Chinese font faces could not be set up in the Wine prefix" >&2
echo "Vortal.exe runs in the tray; click its icon to open the window."
cd "$run"
if [ -z "$xvfb_pid" ]; then
  exec "$root/scripts/wine.sh" "$run/Vortal.exe"
fi

# On our own virtual display nobody can click: open the window from the tray
# icon (Wine's tray window puts its first icon at about (12, 32)) and save a
# screenshot of it.
"$root/scripts/wine.sh" "$run/Vortal.exe" &
vortal_pid=$!
tray_shown() { xwininfo -root -tree 2>/dev/null | grep -q '"Wine System Tray"'; }
# The window counts as open once its picture is on the screen.
window_painted() {
  local geometry mean
  geometry=$(xwininfo -root -tree 2>/dev/null | grep '"vortal.exe"' | grep -o ' 880x645+[0-9-]*+[0-9-]*' | head -n 1)
  [ -n "$geometry" ] || return 1
  mean=$(import -window root -crop "${geometry# }" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-0}" -gt 20 ]
}
for _ in $(seq 300); do tray_shown && break; kill -0 "$vortal_pid" 2>/dev/null || break; sleep 0.2; done
opened=no
if tray_shown; then
  for _ in 1 2 3 4 5 6; do
    sleep 3
    xdotool mousemove 12 32
    sleep 0.5
    xdotool click 1
    for _ in $(seq 12); do window_painted && { opened=yes; break; }; sleep 0.25; done
    [ "$opened" = no ] || break
  done
fi
shot="$run/screenshot.png"
if [ "$opened" = yes ] && sleep 1 && import -window root "$shot"; then
  echo "Screenshot of the opened window: $shot"
else
  echo "run-window.sh: the window did not open from the tray icon" >&2
fi
wait "$vortal_pid"
