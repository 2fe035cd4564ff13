#!/usr/bin/env bash
# The main window as a user meets it: start-up into the tray, a second copy,
# the tray click, a drag, Apply, OK, Cancel, Minimise, Close, the mouse's
# events and its unplugging, and a missing config.bin.
source "$(dirname "$0")/lib.sh"
e2e_init window

# 1. Start-up: into the tray, the window hidden, no message box.
start_vortal || finish
shot 01-started
if main_hidden && [ -z "$(other_windows)" ]; then
  report ok "starts in the tray with its window hidden and no message"
else
  report fail "starts in the tray with its window hidden and no message" "shown: $(program_windows | tr -s " " | head -c 300)"
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
if open_window; then
  shot 02-opened
  report ok "a tray click opens the window at the skin's size ($(window_size))"
else
  shot 02-not-opened
  finish
fi

# 3b. Dragging a free spot of the borderless window moves it.
geometry_before=$(main_geometry)
x0=$(echo "$geometry_before" | cut -d+ -f2); y0=$(echo "$geometry_before" | cut -d+ -f3)
mark_state
xdotool mousemove $((x0 + 400)) $((y0 + 300)) mousedown 1
# The press reached the window (the drag starts from it) before the pointer moves on.
wait_state 10 "clicked 400 300"
xdotool mousemove $((x0 + 450)) $((y0 + 330))
xdotool mousemove $((x0 + 500)) $((y0 + 360))
xdotool mouseup 1
moved() { [ "$(main_geometry)" = "$(window_size)+$((x0 + 100))+$((y0 + 60))" ]; }
if wait_for 5 moved; then
  report ok "dragging a free spot moves the window"
else
  report fail "dragging a free spot moves the window" "from $geometry_before to $(main_geometry)"
fi

# 4. Cancel hides the window without a word to the mouse and saves nothing.
lines=$(traffic_lines)
saved_before=$(md5sum <"$run/config.bin")
click_control cancel
if wait_state 10 'window hidden' && wait_state 10 'clicked .*'; then
  if [ "$(traffic_lines)" = "$lines" ] && [ "$(md5sum <"$run/config.bin")" = "$saved_before" ]; then
    report ok "Cancel hides the window, sends nothing and saves nothing"
  else
    report fail "Cancel sends nothing and saves nothing" "traffic $lines -> $(traffic_lines)"
  fi
else
  report fail "Cancel hides the window" "still shown"
fi
open_window || finish

# 5. Apply writes every setting into the mouse in its order and saves config.bin.
before=$(first_byte "$run/config.bin")
lines=$(traffic_lines)
click_control apply
if wait_state 15 applied && config_saved && [ "$before" = 0 ]; then
  sent=$(opcodes_sent "$lines")
  shot 03-applied
  if [ "$sent" = "$apply_opcodes" ] && main_shown; then
    report ok "Apply sends the whole sequence, saves config.bin and keeps the window open"
  else
    report fail "Apply sends the whole sequence and keeps the window open" "sent: $sent"
  fi
else
  report fail "Apply saves config.bin" "first byte $(first_byte "$run/config.bin") (was $before)"
fi

# 6. OK applies once more and hides the window.
lines=$(traffic_lines)
click_control ok
if wait_state 15 applied && wait_state 10 'window hidden' && [ "$(traffic_lines)" -gt "$lines" ]; then
  shot 04-ok
  report ok "OK applies again and hides the window"
else
  shot 04-ok-failed
  report fail "OK applies again and hides the window" "traffic $lines -> $(traffic_lines)"
fi

# 7. Minimise hides the window; the program stays in the tray.
open_window || finish
click_control minimise
if wait_state 10 'window hidden' && kill -0 "$vortal_pid" 2>/dev/null && tray_shown; then
  report ok "Minimise hides the window and the program stays in the tray"
else
  report fail "Minimise hides the window" "shown or ended"
fi

# 8. A DPI stage event from the mouse shows a tray balloon.
mark_state
echo "event 7 2" >>"$mouse/control"
if wait_balloon 15 '.*'; then
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

# 9. Unplugging the mouse hides the open window; the tray then keeps it hidden.
if open_window; then
  mark_state
  echo "unplug" >>"$mouse/control"
  if wait_state 10 'window hidden'; then
    # Without the mouse a tray click tells so in a balloon and opens nothing.
    mark_state
    xdotool mousemove "${tray_icon[@]}" click 1
    wait_balloon 10 '.*'
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

# 10. Plugging it in again: the handshake runs and the tray opens the window again.
lines=$(traffic_lines)
echo "plug" >>"$mouse/control"
handshake() { tail -n +"$((lines + 1))" "$mouse/traffic.log" | awk '$2 == "SET_FEATURE" { print $4 }' | tr '\n' ' ' | grep '^83 03' >/dev/null; }
if wait_for 10 handshake; then
  if open_window; then
    shot 07-replugged
    report ok "a mouse plugged in again is greeted and the tray opens the window"
  else
    report fail "the tray opens the window after the mouse came back" "not shown"
  fi
else
  report fail "a mouse plugged in again is greeted" "no sensor handshake in the traffic log"
fi

# 11. Close ends the program with exit code 0.
click_control close
wait_exit 15
if [ "$exit_code" = 0 ]; then report ok "Close ends the program with exit code 0"; else report fail "Close ends the program with exit code 0" "exit code $exit_code"; fi

# 12. The tray menu's Exit ends the program with exit code 0.
stop_vortal
start_vortal || finish
tray_exit 08-menu
wait_exit 15
if [ "$exit_code" = 0 ]; then report ok "tray Exit ends the program with exit code 0"; else report fail "tray Exit ends the program with exit code 0" "exit code $exit_code"; fi

# 13. Without config.bin the user is told so in a box captioned "Vortal";
# once it is dismissed the program carries on into the tray.
stop_vortal
rm -f "$run/config.bin"
launch_vortal
if wait_opened 90 'message opened .+' && other_windows | grep "^$opened_id .*\"Vortal\"" >/dev/null; then
  shot 09-no-config
  # Enter on the box, the pointer over it.
  move_in "$opened_origin" 20 20
  xdotool key Return
  if wait_closed 30 'message closed' && wait_state 60 ready && tray_shown && [ ! -e "$run/config.bin" ]; then
    report ok "a missing config.bin is reported in a box, then the program runs on without creating one"
  else
    report fail "the program runs on after the missing config.bin message" "$(program_windows | tr -s ' ' | head -c 300)"
  fi
else
  shot 09-no-message
  report fail "a missing config.bin is reported in a message box" "no box within 90 s: $(program_windows | tr -s ' ' | head -c 300)"
fi
stop_vortal
finish
