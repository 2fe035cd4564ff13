#!/usr/bin/env bash
# End-to-end tests of Vortal.exe: the Windows build runs under Wine on a
# virtual display (Xvfb) with the built-in virtual mouse, is driven with real
# pointer clicks (xdotool) and checked through the windows on the screen, the
# mouse's traffic log, the files it writes and its exit codes. Screenshots of
# each step go to build/e2e-shots (VORTAL_E2E_SHOTS) for a person to look at.
#
#   tests/e2e/run.sh [WINDOWS_BUILD_DIR]     (default build/windows)
#
# Ends with one line "e2e: N passed, N failed"; the exit code is 0 only when
# nothing failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${VORTAL_WINDOWS_BUILD:-$root/build/windows}}
shots=${VORTAL_E2E_SHOTS:-$root/build/e2e-shots}
export WINEPREFIX=${VORTAL_E2E_WINEPREFIX:-$root/build/e2e-wineprefix}
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

# Where the Wine system tray puts its first icon (no desktop tray on Xvfb),
# and the window's control rectangles (client coordinates: left, top, right, bottom).
tray_icon=(12 32)
exit_item=(38 20)
main_size="880x645"
ok_rect=(513 609 618 630)
apply_rect=(617 609 722 630)
# Apply's command order as the mouse sees it: opcodes of the feature reports.
apply_opcodes="01 90 10 0D 11 13 93 12"

passed=0
failed=0
work=""
xvfb_pid=""
vortal_pid=""

report() {
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "ok   $2"; else failed=$((failed + 1)); echo "FAIL $2${3:+: $3}"; fi
}
cleanup() {
  [ -z "$vortal_pid" ] || kill "$vortal_pid" 2>/dev/null
  [ -z "$WINEPREFIX" ] || "$wineserver" -k 2>/dev/null
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
  [ -z "$work" ] || rm -rf "$work"
}
finish() {
  cleanup
  echo "e2e: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
trap 'report fail "interrupted"; finish' INT TERM

# Polls a condition (a command) every 0.2 s for up to $1 seconds.
wait_for() {
  local seconds=$1; shift
  local end=$((SECONDS + seconds))
  while ! "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}
windows() { xwininfo -root -tree 2>/dev/null; }
tray_shown() { windows | grep -q '"Wine System Tray"'; }
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
# Lines of the program's windows that are on the screen (a hidden window keeps its X window).
program_windows() {
  windows | grep '"vortal.exe"' | grep -v 'Default IME' | while read -r id rest; do
    mapped "$id" && echo "$id $rest"
  done
}
# The main window's line while it is shown: '0x.. (has no name): (...)  880x645+X+Y  +X+Y'.
main_window() { program_windows | grep " $main_size+"; }
# Under Wine the X window of a dialog hidden at its first paint can stay
# mapped, unpainted; what counts is whether the window's picture is on the screen.
main_geometry() { main_window | grep -o '[0-9]*x[0-9]*+[0-9-]*+[0-9-]*' | head -n 1; }
main_painted() {
  local geometry mean
  geometry=$(main_geometry)
  [ -n "$geometry" ] || return 1
  mean=$(import -window root -crop "$geometry" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-0}" -gt 20 ]
}
main_shown() { main_painted; }
main_hidden() { ! main_painted; }
# Wine shows a balloon as a window of its explorer just under the tray.
balloon_shown() { windows | grep '("explorer.exe"' | grep -Eq ' [0-9]{3}x[4-9][0-9]\+[0-9]+\+(3[0-9]|4[0-9])'; }
shot() { import -window root "$shots/$1.png" 2>/dev/null; }
first_byte() { od -An -tu1 -N1 "$1" 2>/dev/null | tr -d ' '; }
config_saved() { [ "$(first_byte "$run/config.bin")" = 1 ]; }
# The opcodes of the feature reports sent, in order, repeats merged.
opcodes_sent() { awk '$2 == "SET_FEATURE" { print $4 }' "$mouse/traffic.log" 2>/dev/null | uniq | tr '\n' ' ' | sed 's/ $//'; }
traffic_lines() { wc -l <"$mouse/traffic.log" 2>/dev/null || echo 0; }
# Clicks the middle of a client rectangle of the main window.
click_rect() {
  local geometry x y
  geometry=$(main_window | grep -o '+[0-9-]*+[0-9-]*$' | head -n 1)
  x=$(echo "$geometry" | cut -d+ -f2); y=$(echo "$geometry" | cut -d+ -f3)
  xdotool mousemove $((x + ($1 + $3) / 2)) $((y + ($2 + $4) / 2))
  sleep 0.3  # the hover image first, as a user's pointer would show it
  xdotool click 1
}

exe=$(find "$build" -name Vortal.exe -type f 2>/dev/null | head -n 1)
if [ -z "$exe" ]; then
  report fail "Vortal.exe is built" "none under $build"
  finish
fi
for tool in Xvfb xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { report fail "tool $tool is installed"; finish; }
done

# A delivered run folder, as scripts/run.sh lays it out.
work=$(mktemp -d)
run="$work/run"
mouse="$work/mouse"
mkdir -p "$run/Skins" "$shots"
rm -f "$shots"/*.png
cp "$exe" "$run/"
cp "$root/dist/config.bin" "$root/dist/str.ini" "$run/"
for skin in "$root"/skins/*/; do
  [ -e "$skin/main.png" ] && cp -r "$skin" "$run/Skins/$(basename "$skin")"
done
export VORTAL_VIRTUAL_MOUSE="$mouse"

display=99
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
wait_for 10 xdpyinfo >/dev/null 2>&1 || { report fail "virtual display starts"; finish; }

# 1. Start-up: into the tray, the window hidden, no message box.
(cd "$run" && exec "$wine" "$run/Vortal.exe") >/dev/null 2>&1 &
vortal_pid=$!
if wait_for 60 tray_shown; then
  # The window hides itself at its first paints.
  wait_for 20 main_hidden
  sleep 0.5
  shot 01-started
  if main_hidden && [ -z "$(program_windows | grep -v " $main_size+")" ]; then
    report ok "starts in the tray with its window hidden and no message"
  else
    report fail "starts in the tray with its window hidden and no message" "shown: $(program_windows | tr -s " " | head -c 300)"
  fi
else
  report fail "starts in the tray" "no tray within 60 s"
  finish
fi

# 2. A second copy ends at once with exit code 0; the first keeps running.
start=$SECONDS
(cd "$run" && timeout 30 "$wine" "$run/Vortal.exe") >/dev/null 2>&1
second=$?
if [ "$second" -eq 0 ] && [ $((SECONDS - start)) -lt 15 ] && kill -0 "$vortal_pid" 2>/dev/null && tray_shown; then
  report ok "a second copy exits 0 at once and the first keeps its tray icon"
else
  report fail "a second copy exits 0 at once" "exit code $second after $((SECONDS - start)) s"
fi

# 3. A click on the tray icon opens the window at the size of the skin's main.png.
xdotool mousemove "${tray_icon[@]}" click 1
if wait_for 10 main_shown; then
  sleep 1
  shot 02-opened
  report ok "a tray click opens the window at the skin's size ($main_size)"
else
  shot 02-not-opened
  report fail "a tray click opens the window" "no $main_size window"
  finish
fi

# 3b. Dragging a free spot of the borderless window moves it.
geometry_before=$(main_geometry)
x0=$(echo "$geometry_before" | cut -d+ -f2); y0=$(echo "$geometry_before" | cut -d+ -f3)
xdotool mousemove $((x0 + 400)) $((y0 + 300)) mousedown 1
sleep 0.3
xdotool mousemove $((x0 + 450)) $((y0 + 330))
sleep 0.3
xdotool mousemove $((x0 + 500)) $((y0 + 360))
sleep 0.3
xdotool mouseup 1
moved() { [ "$(main_geometry)" = "$main_size+$((x0 + 100))+$((y0 + 60))" ]; }
if wait_for 5 moved; then
  report ok "dragging a free spot moves the window"
else
  report fail "dragging a free spot moves the window" "from $geometry_before to $(main_geometry)"
fi

# 4. Apply writes every setting into the mouse in its order and saves config.bin.
before=$(first_byte "$run/config.bin")
click_rect "${apply_rect[@]}"
if wait_for 15 config_saved && [ "$before" = 0 ]; then
  sleep 0.5
  sent=$(opcodes_sent)
  shot 03-applied
  if [ "$sent" = "$apply_opcodes" ] && main_shown; then
    report ok "Apply sends the whole sequence, saves config.bin and keeps the window open"
  else
    report fail "Apply sends the whole sequence and keeps the window open" "sent: $sent"
  fi
else
  report fail "Apply saves config.bin" "first byte $(first_byte "$run/config.bin") (was $before)"
fi

# 5. OK applies once more and hides the window.
lines=$(traffic_lines)
click_rect "${ok_rect[@]}"
if wait_for 10 main_hidden && [ "$(traffic_lines)" -gt "$lines" ]; then
  shot 04-ok
  report ok "OK applies again and hides the window"
else
  shot 04-ok-failed
  report fail "OK applies again and hides the window" "traffic $lines -> $(traffic_lines)"
fi

# 6. A DPI stage event from the mouse shows a tray balloon.
echo "event 7 2" >>"$mouse/control"
if wait_for 15 balloon_shown; then
  sleep 0.5
  shot 05-balloon
  if grep -q 'EVENT 06 07 00 02' "$mouse/traffic.log"; then
    report ok "a DPI stage event from the mouse shows a balloon"
  else
    report fail "a DPI stage event shows a balloon" "event not in the traffic log"
  fi
else
  shot 05-no-balloon
  report fail "a DPI stage event from the mouse shows a balloon" "no balloon within 15 s"
fi

# 7. Unplugging the mouse hides the open window; the tray then keeps it hidden.
xdotool mousemove "${tray_icon[@]}" click 1
if wait_for 10 main_shown; then
  echo "unplug" >>"$mouse/control"
  if wait_for 10 main_hidden; then
    sleep 1
    xdotool mousemove "${tray_icon[@]}" click 1
    sleep 2
    shot 06-unplugged
    if main_hidden; then
      report ok "unplugging the mouse hides the window, and the tray does not open it without the mouse"
    else
      report fail "the tray does not open the window without the mouse" "window shown"
    fi
  else
    report fail "unplugging the mouse hides the window" "still shown"
  fi
else
  report fail "the tray opens the window again" "not shown"
fi

# 8. Plugging it in again: the handshake runs and the tray opens the window again.
lines=$(traffic_lines)
echo "plug" >>"$mouse/control"
handshake() { tail -n +"$((lines + 1))" "$mouse/traffic.log" | awk '$2 == "SET_FEATURE" { print $4 }' | tr '\n' ' ' | grep -q '^83 03'; }
if wait_for 10 handshake; then
  xdotool mousemove "${tray_icon[@]}" click 1
  if wait_for 10 main_shown; then
    shot 07-replugged
    report ok "a mouse plugged in again is greeted and the tray opens the window"
  else
    report fail "the tray opens the window after the mouse came back" "not shown"
  fi
else
  report fail "a mouse plugged in again is greeted" "no sensor handshake in the traffic log"
fi

# 9. The tray menu's Exit ends the program with exit code 0.
xdotool mousemove "${tray_icon[@]}" click 3
sleep 1
shot 08-menu
# The menu's single item stands just above the pointer (bottom-aligned at it).
xdotool mousemove "${exit_item[@]}" click 1
if wait_for 15 bash -c "! kill -0 $vortal_pid 2>/dev/null"; then
  wait "$vortal_pid"
  code=$?
  vortal_pid=""
  if [ "$code" -eq 0 ]; then report ok "tray Exit ends the program with exit code 0"; else report fail "tray Exit ends the program with exit code 0" "exit code $code"; fi
else
  report fail "tray Exit ends the program" "still running"
fi

finish
