#!/usr/bin/env bash
# Start-up and drawing figures of Vortal.exe under Wine on a virtual display
# with the virtual mouse: from launching the process to its tray icon on the
# screen, from a tray click to the window's picture on the screen, and from a
# page button's click to the other page, drawn whole, on the screen. Wine's own
# start (a program that exits at once, in the same prefix) is measured too, so
# the program's share can be told apart.
#   bench/window_startup.sh [RUNS]    (uses build/windows)
set -uo pipefail
runs=${1:-5}
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_init bench
ms() { echo $(( $(date +%s%N) / 1000000 )); }
# What is timed is what the screen shows: the tray window shows before its
# first icon is drawn (white until then), and the window's picture.
window_picture_shown() {
  local geometry mean
  geometry=$(main_geometry)
  [ -n "$geometry" ] || return 1
  mean=$(import -window root -crop "$geometry" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-0}" -gt 20 ]
}

# Every run starts Wine afresh (no wineserver running), as after a log-in.
fresh() {
  "$wineserver" -k 2>/dev/null
  wait_for 10 bash -c "! xwininfo -root -tree | grep -q 'Wine System Tray'"
  "$wineserver" -w 2>/dev/null
}
# Wine's share: starting and ending a console program in the same prefix.
"$wine" cmd /c exit >/dev/null 2>&1  # the prefix exists
wine_total=0
for i in $(seq "$runs"); do
  fresh
  t0=$(ms); "$wine" cmd /c exit >/dev/null 2>&1; t1=$(ms)
  wine_total=$((wine_total + t1 - t0))
done

tray_total=0
open_total=0
page_total=0
page_count=0
# A checksum of the page area of the window as it is on the screen.
page_picture() {
  local origin
  origin=$(main_origin)
  import -window root -crop "860x480+$((${origin% *} + 10))+$((${origin#* } + 140))" rgb:- 2>/dev/null | md5sum
}
page_changed() { [ "$(page_picture)" != "$1" ]; }
for i in $(seq "$runs"); do
  fresh
  t0=$(ms)
  launch_vortal
  poll_for 60 tray_icon_drawn || { shot no-tray; echo "no tray icon within 60 s (run $i)" >&2; cleanup; exit 1; }
  t1=$(ms)
  # The end of the start-up, as the program tells it.
  wait_state 60 ready
  t2=$(ms)
  mark_state
  xdotool mousemove "${tray_icon[@]}" click 1
  wait_state 30 'window shown .*' && poll_for 30 window_picture_shown ||
    { shot failed; program_windows >&2; echo "the window did not open within 30 s" >&2; cleanup; exit 1; }
  t3=$(ms)
  tray_total=$((tray_total + t1 - t0))
  open_total=$((open_total + t3 - t2))
  # A whole page drawn anew: the page buttons switch between the two pages.
  wait_state 10 'window painted'
  for page in advanced basic; do
    read -r -a box <<<"$(rect_of "${page}_page")"
    # The page area, below the page buttons, stays as it is while the
    # pointer rests on a button.
    move_to $(((box[0] + box[2]) / 2)) $(((box[1] + box[3]) / 2))
    before=$(page_picture)
    t4=$(ms)
    xdotool click 1
    poll_for 10 page_changed "$before" || { echo "the $page page was not drawn within 10 s" >&2; cleanup; exit 1; }
    t5=$(ms)
    page_total=$((page_total + t5 - t4))
    page_count=$((page_count + 1))
  done
  stop_vortal
done
echo "Wine alone (cmd /c exit): mean $((wine_total / runs)) ms over $runs runs"
echo "launch to tray icon drawn on screen: mean $((tray_total / runs)) ms over $runs runs"
echo "tray click to window picture on screen: mean $((open_total / runs)) ms over $runs runs (each poll takes a screenshot: about 50 ms)"
echo "page button click to the other page on screen: mean $((page_total / page_count)) ms over $page_count redraws (same polling)"
cleanup
