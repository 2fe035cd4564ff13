#!/usr/bin/env bash
# Faults a user can run into: a second copy started while the first applies,
# the program killed in the middle of an Apply, the mouse's event handle
# failing when it is pulled out, and damaged skins.
source "$(dirname "$0")/lib.sh"
e2e_init faults

# Waits (15 s at most) until the mouse hears a report matching $2 after line
# $1 of its traffic log, and returns at once then.
heard() { grep -q -m 1 -- "$2" <(timeout 15 tail -n +"$(($1 + 1))" -f "$mouse/traffic.log" 2>/dev/null); }

# 1. A second copy started while the first applies ends at once with 0; the
#    first finishes its Apply.
start_vortal || finish
open_window || finish
lines=$(traffic_lines)
click_control apply
# The second copy starts once the Apply has begun (the mouse hears its first command).
heard "$lines" ' SET_FEATURE 00 01 '
(cd "$run" && timeout 30 "$wine" "$run/Vortal.exe") >/dev/null 2>&1
second=$?
if [ "$second" = 0 ] && wait_state 15 applied && config_saved && [ "$(opcodes_sent "$lines")" = "$apply_opcodes" ] && kill -0 "$vortal_pid" 2>/dev/null; then
  report ok "a second copy started during an Apply exits 0 and the Apply completes"
else
  report fail "a second copy started during an Apply exits 0 and the Apply completes" "exit $second, sent: $(opcodes_sent "$lines")"
fi

# 2. After the mouse was pulled out (its event handle fails) and put back,
#    its events reach the window again.
mark_state
echo "unplug" >>"$mouse/control"
wait_state 10 'window hidden'
# Back: the program greets it (its sensor options read) before it is asked for events.
lines=$(traffic_lines)
echo "plug" >>"$mouse/control"
greeted() { tail -n +"$((lines + 1))" "$mouse/traffic.log" | grep 'SET_FEATURE 00 03' >/dev/null; }
wait_for 10 greeted
mark_state
echo "event 7 3" >>"$mouse/control"
if wait_balloon 15 '.*'; then
  shot 01-events-after-replug
  report ok "after the mouse came back its events show balloons again"
else
  report fail "after the mouse came back its events show balloons again" "no balloon"
fi
stop_vortal

# 3. Killed in the middle of an Apply, at several of its commands (the first,
#    the configuration block, the macro slots, the last key matrix, after
#    which config.bin is saved), and as it ends: config.bin is always the old
#    or the new file, never a mix, and the next start is clean.
cp "$root/dist/config.bin" "$run/config.bin"
old=$(md5sum <"$run/config.bin")
new=$( (printf '\001'; tail -c +2 "$root/dist/config.bin") | md5sum)
for point in "01|first command" "10|configuration block" "13|macro slots" "12 04|last key matrix" "|end"; do
  command=${point%%|*} moment=${point#*|}
  cp "$root/dist/config.bin" "$run/config.bin"
  : >"$mouse/traffic.log"
  start_vortal || finish
  open_window || finish
  lines=$(traffic_lines)
  click_control apply
  if [ -z "$command" ]; then wait_state 15 applied; else heard "$lines" " SET_FEATURE 00 $command "; fi
  kill -9 "$vortal_pid" 2>/dev/null
  wait "$vortal_pid" 2>/dev/null
  vortal_pid=""
  stop_vortal
  now=$(md5sum <"$run/config.bin")
  if [ "$now" != "$old" ] && [ "$now" != "$new" ]; then
    report fail "killed at the $moment of an Apply, config.bin is the old or the new file" "size $(stat -c %s "$run/config.bin")"
    continue
  fi
  start_vortal || finish
  if [ -z "$(last_state 'message opened.*')" ] && [ -z "$(other_windows)" ]; then
    report ok "killed at the $moment of an Apply: config.bin whole ($([ "$now" = "$old" ] && echo old || echo new)), next start clean"
  else
    shot "02-after-kill-${moment// /-}"
    report fail "after a kill at the $moment of an Apply the next start shows no message" "$(last_state 'message opened.*') $(other_windows | tr -s ' ' | head -c 200)"
  fi
  stop_vortal
done
# A later save removes what a killed save left beside config.bin.
start_vortal || finish
open_window || finish
apply_and_wait
leftovers=$(ls "$run" | grep -c '^config\.bin\..*\.tmp$')
if [ "$leftovers" = 0 ]; then
  report ok "no temporary file is left beside config.bin after the next save"
else
  report fail "no temporary file is left beside config.bin after the next save" "$leftovers left: $(ls "$run")"
fi
stop_vortal

# 4. The chosen skin's main picture is damaged: this run draws with the
#    delivered skin, so the window opens whole; str.ini keeps the choice.
sed -i 's/^Path=.*\r*$/Path=Light\r/' "$run/str.ini"
head -c 300 "$root/skins/Light/main.png" >"$run/Skins/Light/main.png"
stored=$(md5sum <"$run/str.ini")
if start_vortal && open_window; then
  shot 03-unusable-skin
  # The delivered skin is dark; the Light one would be pale.
  bright=$(import -window root -crop "$(main_geometry)" -format '%[fx:int(100*mean)]' info: 2>/dev/null)
  if [ -n "$(last_state 'window shown.*')" ] && [ "${bright:-100}" -lt 40 ]; then
    report ok "a skin whose main picture is damaged gives way to the delivered one (brightness $bright%)"
  else
    report fail "a skin whose main picture is damaged gives way to the delivered one" "brightness ${bright:-none}%"
  fi
else
  report fail "a skin whose main picture is damaged still gives the window its area" "no window"
fi
stop_vortal
if [ "$(md5sum <"$run/str.ini")" = "$stored" ] && grep -q '^Path=Light' "$run/str.ini"; then
  report ok "str.ini keeps the chosen skin while another one stands in"
else
  report fail "str.ini keeps the chosen skin while another one stands in" "$(grep '^Path' "$run/str.ini")"
fi
sed -i 's/^Path=.*\r*$/Path=Default\r/' "$run/str.ini"

# 5. Damaged skin: a corrupt page background, a truncated button and a
#    missing image. The window opens, draws the rest and applies.
skin="$run/Skins/Default"
head -c 200 "$root/skins/Default/BasicSet2.png" >"$skin/BasicSet2.png"
head -c 100 /dev/urandom >"$skin/button-over.png"
rm -f "$skin/button-close-normal.png"
start_vortal || finish
if open_window; then
  shot 04-damaged-skin
  click_control apply
  if wait_state 15 applied && config_saved && kill -0 "$vortal_pid" 2>/dev/null; then
    report ok "with damaged skin images the window opens, draws the rest and applies"
  else
    report fail "with damaged skin images the window applies" "not saved or ended"
  fi
else
  report fail "with damaged skin images the window opens" "not shown"
fi
stop_vortal

# 6. The skin's folder is a file (the delivered one, so nothing stands in):
#    no window picture, but the program runs in the tray and its menu still
#    ends it with 0.
rm -rf "$skin"
echo "not a folder" >"$skin"
start_vortal || { report fail "with a skin folder that is a file the program starts in the tray"; finish; }
# A tray click: the window has no picture to show, yet the program goes on.
mark_state
xdotool mousemove "${tray_icon[@]}" click 1
wait_state 10 'window (shown|hidden).*'
tray_exit
wait_exit 15
if [ "$exit_code" = 0 ]; then
  report ok "with a skin folder that is a file the program runs in the tray and exits 0"
else
  report fail "with a skin folder that is a file the program exits 0 from the tray" "exit $exit_code"
fi
finish
