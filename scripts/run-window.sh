#!/usr/bin/env bash
# Runs Vortal.exe from a delivered run folder under Wine and keeps it running
# until it ends (tray "Exit") or this script is interrupted. Without a display
# a virtual one (Xvfb) is started and its screen can be captured with
# `DISPLAY=:99 import -window root shot.png`. VORTAL_DPI sets the display
# scale of the Wine prefix (scripts/wine-dpi.sh; 96 = 100 %, 144 = 150 %), and
# the virtual display is as large for it as 1024 x 768 is at 100 %.
#
#   scripts/run-window.sh RUN_FOLDER
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The end-to-end checks' helpers: polling, the program's state log, the tray
# (they test and go on, so no -e here), at the scale asked for.
export VORTAL_E2E_DPI=${VORTAL_DPI:-96}
source "$root/tests/e2e/lib.sh"
run=${1:?usage: run-window.sh RUN_FOLDER}
[ -e "$run/Vortal.exe" ] || { echo "run-window.sh: no Vortal.exe in $run" >&2; exit 2; }
run=$(cd "$run" && pwd) || exit 2

xvfb_pid=""
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display=99
  while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 "$(px 1024)x$(px 768)x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  wait_for 10 xdpyinfo >/dev/null 2>&1
  echo "Virtual display $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi

"$root/scripts/wine-fonts.sh" || echo "warning: Chinese font faces could not be set up in the Wine prefix" >&2
[ -z "${VORTAL_DPI:-}" ] || "$root/scripts/wine-dpi.sh" "$VORTAL_DPI" ||
  echo "warning: the Wine prefix could not be set to $VORTAL_DPI DPI" >&2
echo "Vortal.exe runs in the tray; click its icon to open the window."
cd "$run" || exit 2
# On a display of the user's, or with a real mouse, the user clicks.
if [ -z "$xvfb_pid" ] || [ -z "${VORTAL_VIRTUAL_MOUSE:-}" ]; then
  exec "$root/scripts/wine.sh" "$run/Vortal.exe"
fi

# On our own virtual display nobody can click. Under the virtual mouse the
# program tells its state (app/state_log.h): once its start-up is over the
# window is opened from the tray icon, and once its picture is drawn a
# screenshot is saved.
state_log="$run/state.log"
export VORTAL_STATE_LOG="$state_log"
: >"$state_log"
"$root/scripts/wine.sh" "$run/Vortal.exe" &
vortal_pid=$!
shot="$run/screenshot.png"
opened=no
if wait_state 60 ready && wait_for 10 tray_shown; then
  mark_state
  xdotool mousemove "${tray_icon[@]}" click 1
  wait_state 10 'window shown .*' && wait_state 10 'window painted' && wait_for 10 main_shown && opened=yes
fi
if [ "$opened" = yes ] && import -window root "$shot"; then
  echo "Screenshot of the opened window: $shot"
else
  echo "run-window.sh: the window did not open from the tray icon (last state: $(tail -n 1 "$state_log"))" >&2
fi
wait "$vortal_pid"
