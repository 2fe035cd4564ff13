#!/usr/bin/env bash
# Vortal.exe's private memory (PrivateUsage, as its state log tells it) under
# Wine on a virtual display with the virtual mouse: after the start in the
# tray, with the window shown, and with it hidden again; and the time from the
# window shown to its picture painted (as the program measures it), the first
# time and again after a hide. At 96 and 192 DPI.
#   bench/window_memory.sh [CYCLES]    (uses build/windows)
set -uo pipefail
cycles=${1:-5}
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VORTAL_E2E_DPI:-}" ]; then
  for dpi in 96 192; do VORTAL_E2E_DPI=$dpi "$here/window_memory.sh" "$cycles" || exit 1; done
  exit 0
fi
source "$here/../tests/e2e/lib.sh"
e2e_init memory
# The private memory the program told last, in KiB.
kib() { echo $(( $(last_state 'memory [0-9]+' | cut -d' ' -f2) / 1024 )); }
# The time from the window told shown to its picture painted, as the
# program measured it, in tenths of a millisecond.
paint_tenths() { last_state 'paint ms [0-9.]+' | awk '{ printf "%d", $3 * 10 }'; }
tenths() { awk -v t="$1" -v n="$2" 'BEGIN { printf "%.1f", t / n / 10 }'; }

start_vortal || { cleanup; exit 1; }
start=$(kib)
first=0 again=0 shown=0 hidden=0
for i in $(seq "$cycles"); do
  mark_state
  xdotool mousemove "${tray_icon[@]}" click 1
  wait_state 30 'paint ms .*' || { echo "the window was not painted within 30 s" >&2; cleanup; exit 1; }
  if [ "$i" = 1 ]; then first=$(paint_tenths); else again=$((again + $(paint_tenths))); fi
  wait_for 10 main_shown || { echo "the window is not on the screen" >&2; cleanup; exit 1; }
  [ "$i" = 1 ] && shown=$(kib)
  click_control minimise
  wait_state 10 'window hidden' || { echo "the window did not hide" >&2; cleanup; exit 1; }
  hidden=$(kib)
done
echo "at $e2e_dpi DPI: private memory at start in the tray $start KiB, window shown $shown KiB," \
  "hidden again $hidden KiB (after $cycles shows)"
echo "at $e2e_dpi DPI: window shown to its picture painted: first $(tenths "$first" 1) ms," \
  "again after a hide: mean $(tenths "$again" $((cycles > 1 ? cycles - 1 : 1))) ms over $((cycles - 1))"
cleanup
